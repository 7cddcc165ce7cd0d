// A StandAlone scene file made ready for the EEPROM: loaded, parsed and refused with the message
// the operator is told, the same for the window's StandAlone page and the command line.
#pragma once

#include "link/StandAloneImage.h"
#include "platform/os/CString.h"

// Fills `image` from the file at `path`. Returns the message that says why nothing may be
// written, or an empty text when the image may be written.
CString LoadStandAloneFile(const CString& path, StandAloneImage& image);
