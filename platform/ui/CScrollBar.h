// CScrollBar: a vertical scroll bar that never moves itself. Line, page and thumb requests (the
// mouse wheel arrives as a thumb-track request) go to the parent's OnVScroll, which sets the
// position.
#pragma once

#include "platform/ui/CWnd.h"

class CScrollBar : public CWnd {
public:
    void SetScrollRange(int nMinPos, int nMaxPos, BOOL bRedraw = TRUE);
    void GetScrollRange(LPINT lpMinPos, LPINT lpMaxPos) const;
    int GetScrollPos() const;
    int SetScrollPos(int nPos, BOOL bRedraw = TRUE);  // returns the previous position
    int GetScrollLimit() const;
};
