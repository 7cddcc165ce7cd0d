// CDlgChooseDimmer: Device > Choose dimmer. Lists the dimmers attached (port, model, serial number
// and stable name where known), marks the one in use, and gives back the one picked.
#pragma once

#include <vector>

#include "link/DimmerSearch.h"
#include "platform/ui/CDialog.h"
#include "platform/ui/CListCtrl.h"

class CDlgChooseDimmer : public CDialog {
public:
    // `inUse`: the row of the dimmer in use, or -1.
    CDlgChooseDimmer(const std::vector<FoundDimmer>& dimmers, int inUse, CWnd* pParent = nullptr);

    CListCtrl m_listDimmers;
    int m_nChosen = -1;  // the row picked, once the dialog ended with OK

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    const std::vector<FoundDimmer>& m_dimmers;
    int m_nInUse;
};
