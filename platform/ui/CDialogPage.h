// CDialogPage: the base of every page that lives inside a tab control: a modeless child dialog that
// ignores Enter and Esc (they neither close nor end it) and is told when its tab shows or hides it.
#pragma once

#include "platform/ui/CDialog.h"

class CDialogPage : public CDialog {
public:
    CDialogPage(UINT nIDTemplate, CWnd* pParentWnd);

    void OnOK() override;
    void OnCancel() override;
    // Called with FALSE when the page is hidden and with TRUE after it has been shown.
    virtual void OnPageActivate(BOOL bActive);

    int m_nTabIndex;
};
