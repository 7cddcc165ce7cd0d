// CDlgGamma: asks for the gamma value of a table page's gamma curve.
#pragma once

#include "platform/ui/CDialog.h"

class CDlgGamma : public CDialog {
public:
    explicit CDlgGamma(CWnd* pParent = nullptr);

    double m_dGamma = 0.5;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
