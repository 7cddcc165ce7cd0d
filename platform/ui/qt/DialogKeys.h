// Enter and Esc in a dialog, as the Windows dialog manager handles them: Esc sends IDCANCEL; Enter
// clicks the focused push button, or else sends the id of the default button (IDOK when none).
#pragma once

#include <QKeyEvent>
#include <QWidget>

#include "platform/ui/CWnd.h"

// TRUE when the key was Enter or Esc and went to the target.
bool RouteDialogKey(QKeyEvent* event, CWnd* target, QWidget* client);
// Sends WM_COMMAND IDCANCEL (Esc, the close box) to the target.
void SendCancel(CWnd* target);
