#include "platform/ui/CEdit.h"

#include <QLineEdit>

#include "platform/ui/qt/WindowLink.h"

void CEdit::SetReadOnly(BOOL bReadOnly) {
    if (auto* e = WidgetAs<QLineEdit>(*this))
        e->setReadOnly(bReadOnly != FALSE);
}

void CEdit::SetSel(int nStartChar, int nEndChar) {
    auto* e = WidgetAs<QLineEdit>(*this);
    if (!e)
        return;
    if (nStartChar == 0 && nEndChar == -1) {
        e->selectAll();
    } else if (nStartChar == -1) {
        e->deselect();
    } else {
        const int end = nEndChar < 0 ? static_cast<int>(e->text().size()) : nEndChar;
        e->setSelection(nStartChar, end - nStartChar);
    }
}

void CEdit::LimitText(int nChars) {
    if (auto* e = WidgetAs<QLineEdit>(*this))
        e->setMaxLength(nChars > 0 ? nChars : 32767);
}
