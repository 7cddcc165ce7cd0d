#include "platform/ui/CWaitCursor.h"

#include "platform/ui/AfxFunctions.h"
#include "platform/ui/qt/Handles.h"

CWaitCursor::CWaitCursor() {
    SetCursor(StandardCursorHandle(IDC_WAIT));
}

CWaitCursor::~CWaitCursor() {
    SetCursor(StandardCursorHandle(IDC_ARROW));
}

void CWaitCursor::Restore() {
    SetCursor(StandardCursorHandle(IDC_WAIT));
}
