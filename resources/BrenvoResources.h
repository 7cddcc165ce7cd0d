// Brenvo's resources: the dialog templates, the menu, the string table and the icon.
#pragma once

#include "platform/ui/Resource.h"
#include "resources/resource.h"

const ResourceSet& BrenvoResources();
