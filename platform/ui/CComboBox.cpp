#include "platform/ui/CComboBox.h"

#include <QComboBox>

#include "platform/ui/qt/QtText.h"
#include "platform/ui/qt/WindowLink.h"

int CComboBox::AddString(const char* text) {
    auto* c = WidgetAs<QComboBox>(*this);
    if (!c)
        return CB_ERR;
    const int selected = c->currentIndex();
    c->addItem(ToQString(text));
    // Adding to an empty box must not select the entry (the toolkit would).
    if (selected < 0 && c->currentIndex() >= 0)
        c->setCurrentIndex(-1);
    return c->count() - 1;
}

int CComboBox::GetCount() const {
    auto* c = WidgetAs<QComboBox>(*this);
    return c ? c->count() : CB_ERR;
}

int CComboBox::GetCurSel() const {
    auto* c = WidgetAs<QComboBox>(*this);
    return c && c->currentIndex() >= 0 ? c->currentIndex() : CB_ERR;
}

int CComboBox::SetCurSel(int nSelect) {
    auto* c = WidgetAs<QComboBox>(*this);
    if (!c)
        return CB_ERR;
    if (nSelect < 0 || nSelect >= c->count()) {
        c->setCurrentIndex(-1);
        return CB_ERR;
    }
    c->setCurrentIndex(nSelect);
    return nSelect;
}

int CComboBox::GetLBText(int nIndex, CString& text) const {
    auto* c = WidgetAs<QComboBox>(*this);
    if (!c || nIndex < 0 || nIndex >= c->count()) {
        text.Empty();
        return CB_ERR;
    }
    text = FromQString(c->itemText(nIndex));
    return text.GetLength();
}

void CComboBox::ResetContent() {
    if (auto* c = WidgetAs<QComboBox>(*this))
        c->clear();
}
