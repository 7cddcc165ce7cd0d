// CTabCtrl: a tab control. It does not own pages: pages are plain child windows of the tab
// control's window. TCN_SELCHANGE is sent for selections made by the user only.
#pragma once

#include "platform/ui/CWnd.h"

class CTabCtrl : public CWnd {
public:
    // Index of the new tab (appended when nItem lies past the end), -1 on failure.
    int InsertItem(int nItem, TCITEM* pTabCtrlItem);
    int InsertItem(int nItem, const char* text);
    BOOL DeleteAllItems();
    BOOL DeleteItem(int nItem);
    int GetItemCount() const;
    int GetCurSel() const;     // -1 when there are no tabs
    int SetCurSel(int nItem);  // sends no notification; returns the previous selection or -1
    BOOL GetItemRect(int nItem, LPRECT lpRect) const;
    CString GetItemText(int nItem) const;
};
