#include "tests/ui/TestDialogs.h"

BEGIN_MESSAGE_MAP(FormDialog, CDialog)
ON_EN_CHANGE(IDC_TEXT, &FormDialog::OnTextChange)
ON_CBN_SELCHANGE(IDC_COMBO, &FormDialog::OnComboChange)
ON_BN_CLICKED(IDC_CHECK, &FormDialog::OnCheck)
ON_COMMAND(ID_DEVICE_READ, &FormDialog::OnRead)
ON_COMMAND(ID_FILE_OPEN, &FormDialog::OnOpen)
ON_COMMAND(ID_FILE_QUIT, &CDialog::OnCancel)
ON_WM_SYSCOMMAND()
ON_WM_TIMER()
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(DerivedFormDialog, FormDialog)
ON_COMMAND(ID_DEVICE_WRITE, &DerivedFormDialog::OnWrite)
ON_COMMAND(ID_FILE_OPEN, &DerivedFormDialog::OnOpenHere)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(PanelDialog, CDialog)
ON_NOTIFY(NM_CUSTOMDRAW, IDC_SLIDER, &PanelDialog::OnSliderDraw)
ON_NOTIFY(TCN_SELCHANGE, IDC_TAB, &PanelDialog::OnTabChange)
ON_NOTIFY(NM_CLICK, IDC_LIST, &PanelDialog::OnListClick)
ON_WM_VSCROLL()
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(TestPage, CDialogPage)
ON_BN_CLICKED(IDC_PAGE_BUTTON, &TestPage::OnPress)
ON_WM_PAINT()
END_MESSAGE_MAP()
