// A host window for page tests: the main window's template with its tab control bound to a
// CDialogPageCtrl, run through the scripted seam so that the test body runs while it exists.
#pragma once

#include <functional>

#include "platform/ui/CDataExchange.h"
#include "platform/ui/CDialog.h"
#include "platform/ui/testing/ScriptedUi.h"
#include "resources/BrenvoResources.h"
#include "tables/CDialogPageCtrl.h"

class PageHost : public CDialog {
public:
    PageHost() : CDialog(IDD_BRENVO_DIALOG) {}
    CDialogPageCtrl m_tabCtrl;

    // Runs `body` while the host window exists, then ends the run. Expectations that the body
    // meets (message boxes) are queued on `ui` after the modal run's own.
    void Run(ScriptedUi& ui, const std::function<void()>& body) {
        AfxSetResourceSet(&BrenvoResources());
        ui.ExpectModal([&](CDialog& dialog) {
            body();
            dialog.EndDialog(IDCANCEL);
        });
        DoModal();
    }

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        CDialog::DoDataExchange(pDX);
        DDX_Control(pDX, IDC_TAB, m_tabCtrl);
    }
};
