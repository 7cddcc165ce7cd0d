// The free functions of the framework: message boxes, cursors and system metrics.
#pragma once

#include "platform/ui/UiTypes.h"

// A message box with the application's name as caption; returns IDOK, IDYES, ... .
int AfxMessageBox(const char* text, UINT nType = MB_OK, UINT nIDHelp = 0);
// Shows the cursor for the whole application and returns the previous one.
HCURSOR SetCursor(HCURSOR hCursor);
int GetSystemMetrics(int nIndex);
// The desktop's alert sound (through the user-interface seam).
BOOL MessageBeep(UINT uType);
