// Compiles every public header on its own terms until their implementations land.
#include "platform/ui/Afx.h"
#include "platform/ui/FileDialogRules.h"
