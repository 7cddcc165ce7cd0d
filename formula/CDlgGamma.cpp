#include "formula/CDlgGamma.h"

#include "platform/ui/CDataExchange.h"
#include "resources/resource.h"

CDlgGamma::CDlgGamma(CWnd* pParent) : CDialog(IDD_GAMMA, pParent) {}

// A text that is not a number is refused by the exchange with its prompt, and OK keeps the dialog
// open.
void CDlgGamma::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_GAMMA, m_dGamma);
}
