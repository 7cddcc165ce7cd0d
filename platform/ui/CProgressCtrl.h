// CProgressCtrl: a progress bar.
#pragma once

#include "platform/ui/CWnd.h"

class CProgressCtrl : public CWnd {
public:
    void SetRange(short nLower, short nUpper);
    void SetRange32(int nLower, int nUpper);
    void GetRange(int& nLower, int& nUpper) const;
    int SetPos(int nPos);  // returns the previous position
    int GetPos() const;
    int SetStep(int nStep);  // returns the previous step
    // Advances by the step; past the upper end the bar starts again from the lower end.
    int StepIt();  // returns the previous position
};
