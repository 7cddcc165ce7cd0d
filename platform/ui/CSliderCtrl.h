// CSliderCtrl: a horizontal trackbar. It sends NM_CUSTOMDRAW to its parent every time it paints,
// before painting: when the user moves it, when the program sets its position, and on every
// repaint.
#pragma once

#include "platform/ui/CWnd.h"

class CSliderCtrl : public CWnd {
public:
    void SetRange(int nMin, int nMax, BOOL bRedraw = FALSE);
    void GetRange(int& nMin, int& nMax) const;
    int GetRangeMin() const;
    int GetRangeMax() const;
    int GetPos() const;
    void SetPos(int nPos);
    int SetPageSize(int nSize);
    int SetLineSize(int nSize);
};
