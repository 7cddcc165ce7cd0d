#include "platform/ui/CScrollBar.h"

#include <QScrollBar>

#include "platform/ui/qt/WindowLink.h"

void CScrollBar::SetScrollRange(int nMinPos, int nMaxPos, BOOL bRedraw) {
    auto* s = WidgetAs<QScrollBar>(*this);
    if (!s)
        return;
    s->setRange(nMinPos, nMaxPos);
    if (bRedraw)
        s->update();
}

void CScrollBar::GetScrollRange(LPINT lpMinPos, LPINT lpMaxPos) const {
    auto* s = WidgetAs<QScrollBar>(*this);
    if (lpMinPos)
        *lpMinPos = s ? s->minimum() : 0;
    if (lpMaxPos)
        *lpMaxPos = s ? s->maximum() : 0;
}

int CScrollBar::GetScrollPos() const {
    auto* s = WidgetAs<QScrollBar>(*this);
    return s ? s->value() : 0;
}

int CScrollBar::SetScrollPos(int nPos, BOOL bRedraw) {
    auto* s = WidgetAs<QScrollBar>(*this);
    if (!s)
        return 0;
    const int old = s->value();
    s->setValue(nPos);
    if (bRedraw)
        s->update();
    return old;
}

int CScrollBar::GetScrollLimit() const {
    auto* s = WidgetAs<QScrollBar>(*this);
    return s ? s->maximum() : 0;
}
