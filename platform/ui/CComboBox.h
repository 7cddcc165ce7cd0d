// CComboBox: a drop-down list. CBN_SELCHANGE is sent for selections made by the user only.
#pragma once

#include "platform/ui/CWnd.h"

constexpr int CB_ERR = -1;

class CComboBox : public CWnd {
public:
    int AddString(const char* text);  // index of the new entry
    int GetCount() const;
    int GetCurSel() const;       // CB_ERR when nothing is selected
    int SetCurSel(int nSelect);  // CB_ERR when out of range (the selection is then cleared)
    int GetLBText(int nIndex, CString& text) const;
    void ResetContent();
};
