// CListCtrl: a list view in report mode. NM_CLICK is sent for mouse clicks only; the keyboard moves
// the selection without it.
#pragma once

#include "platform/ui/CWnd.h"

class CListCtrl : public CWnd {
public:
    int InsertColumn(int nCol, const char* heading, int nFormat = LVCFMT_LEFT, int nWidth = -1,
                     int nSubItem = -1);
    int GetColumnWidth(int nCol) const;     // pixels; 0 when there is no such column
    BOOL SetColumnWidth(int nCol, int cx);  // pixels, or LVSCW_AUTOSIZE_USEHEADER
    CString GetHeadingText(int nCol) const;
    DWORD SetExtendedStyle(DWORD dwNewStyle);
    DWORD GetExtendedStyle() const;
    BOOL DeleteAllItems();
    int InsertItem(int nItem, const char* text);  // index of the new row, -1 on failure
    BOOL SetItemText(int nItem, int nSubItem, const char* text);
    CString GetItemText(int nItem, int nSubItem) const;
    int GetItemCount() const;
    // With LVNI_SELECTED: the first selected row after nItem (-1 to start), or -1.
    int GetNextItem(int nItem, int nFlags) const;
    POSITION GetFirstSelectedItemPosition() const;
    int GetNextSelectedItem(POSITION& pos) const;
    BOOL SetItemState(int nItem, UINT nState, UINT nMask);
    UINT GetItemState(int nItem, UINT nMask) const;
    BOOL EnsureVisible(int nItem, BOOL bPartialOK);
};
