// A host window for the StandAlone page: the main window's template with its tab control and its
// progress bar bound, run through the scripted seam.
#pragma once

#include "link/CDlgStandAlone.h"
#include "platform/ui/CProgressCtrl.h"
#include "tests/tables/PageHost.h"

class StandAloneHost : public PageHost {
public:
    CProgressCtrl m_progress;

    // Creates `page` in the tab control and shows it.
    void AddPage(CDlgStandAlone& page) {
        page.Create(IDD_STANDALONE, &m_tabCtrl);
        m_tabCtrl.AddPage(&page, "StandAlone");
        m_tabCtrl.SetCurSel(0);
        m_tabCtrl.ShowSelectedPage();
    }

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        PageHost::DoDataExchange(pDX);
        DDX_Control(pDX, IDC_PROGRESS, m_progress);
    }
};
