#include "platform/ui/AfxFunctions.h"

#include "platform/os/TimeService.h"
#include "platform/os/UserLanguage.h"
#include "platform/ui/CWinApp.h"
#include "platform/ui/UiSeam.h"

namespace {
HCURSOR g_cursor = nullptr;
}

int AfxMessageBox(const char* text, UINT nType, UINT) {
    CWinApp* app = AfxGetApp();
    CWnd* parent = app ? app->m_pMainWnd : nullptr;
    ModalScope modal;
    return CurrentUiSeam().MessageBox(parent, ShownText(text ? text : ""),
                                      ShownText(app ? app->m_strAppName.str() : std::string()),
                                      nType);
}

HCURSOR SetCursor(HCURSOR hCursor) {
    HCURSOR previous = g_cursor;
    g_cursor = hCursor;
    CurrentUiSeam().SetCursor(hCursor);
    return previous;
}

int GetSystemMetrics(int nIndex) {
    switch (nIndex) {
        case SM_CXICON:
        case SM_CYICON:
            return 32;
        default:
            return 0;
    }
}

BOOL MessageBeep(UINT) {
    return Beep(0, 0);
}
