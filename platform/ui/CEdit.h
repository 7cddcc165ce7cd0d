// CEdit: an edit field. ES_READONLY and ES_NUMBER (only digits can be typed) from the template are
// honoured; EN_CHANGE is sent for every change of the text, by the user or by the program.
#pragma once

#include "platform/ui/CWnd.h"

class CEdit : public CWnd {
public:
    void SetReadOnly(BOOL bReadOnly = TRUE);
    void SetSel(int nStartChar, int nEndChar);
    void LimitText(int nChars);
};
