// CDlgFormel: the formula editor. The operator types a formula in x (the DMX input value) and may
// append function names from a list; after OK, Evaluate computes the formula for each table entry.
#pragma once

#include "platform/os/CString.h"
#include "platform/ui/CDialog.h"

class CDlgFormel : public CDialog {
public:
    explicit CDlgFormel(CWnd* pParent = nullptr);

    // The accepted formula at x, truncated toward zero to 32 bits (TruncateToInt32), low 16 bits.
    // Errors of the formula are not reported: its fallback value is used.
    WORD Evaluate(WORD x);

    CString m_strFormula;
    int m_nFunction = 0;  // the entry of the function list; "select..." after every insertion

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnCbnSelchangeFunction();

    DECLARE_MESSAGE_MAP()
};
