#include "link/CDlgStandAlone.h"

#include "resources/resource.h"

BEGIN_MESSAGE_MAP(CDlgStandAlone, CDialogPage)
ON_BN_CLICKED(IDC_WRITE_HEX, &CDlgStandAlone::OnWriteFromHexFile)
END_MESSAGE_MAP()

CDlgStandAlone::CDlgStandAlone(CWnd* pParent) : CDialogPage(IDD_STANDALONE, pParent) {}

// To be built: the scene file's parser and the EEPROM write loop.
void CDlgStandAlone::OnWriteFromHexFile() {}
