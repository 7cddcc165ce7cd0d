#include "platform/ui/CDialogPage.h"

CDialogPage::CDialogPage(UINT nIDTemplate, CWnd* pParentWnd)
    : CDialog(nIDTemplate, pParentWnd), m_nTabIndex(-1) {}

void CDialogPage::OnOK() {}
void CDialogPage::OnCancel() {}
void CDialogPage::OnPageActivate(BOOL) {}
