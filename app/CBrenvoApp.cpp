#include "app/CBrenvoApp.h"

#include "app/CBrenvoDlg.h"
#include "resources/BrenvoResources.h"

CBrenvoApp::CBrenvoApp() : CWinApp(nullptr) {
    AfxSetResourceSet(&BrenvoResources());
}

BOOL CBrenvoApp::InitInstance() {
    CBrenvoDlg dlg;
    dlg.m_bWatchPorts = true;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    // The modal run was the whole program: no message loop of the framework's own.
    return FALSE;
}
