// CButton: push button, check box or group box of a dialog.
#pragma once

#include "platform/ui/CWnd.h"

constexpr int BST_UNCHECKED = 0;
constexpr int BST_CHECKED = 1;

class CButton : public CWnd {
public:
    void SetCheck(int nCheck);
    int GetCheck() const;
};
