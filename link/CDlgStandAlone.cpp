#include "link/CDlgStandAlone.h"

#include "resources/resource.h"

BEGIN_MESSAGE_MAP(CDlgStandAlone, CDialogPage)
END_MESSAGE_MAP()

CDlgStandAlone::CDlgStandAlone(CWnd* pParent) : CDialogPage(IDD_STANDALONE, pParent) {}
