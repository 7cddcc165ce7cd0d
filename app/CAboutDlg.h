// CAboutDlg: the About box, opened from the window menu.
#pragma once

#include "platform/ui/CDialog.h"

class CAboutDlg : public CDialog {
public:
    CAboutDlg();
};
