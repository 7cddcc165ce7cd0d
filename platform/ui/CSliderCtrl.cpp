#include "platform/ui/CSliderCtrl.h"

#include <QSlider>

#include "platform/ui/qt/NotifyingSlider.h"
#include "platform/ui/qt/WindowLink.h"

void CSliderCtrl::SetRange(int nMin, int nMax, BOOL bRedraw) {
    auto* s = WidgetAs<NotifyingSlider>(*this);
    if (!s)
        return;
    if (bRedraw) {
        s->setRange(nMin, nMax);
        s->update();
    } else {
        s->SetRangeWithoutRedraw(nMin, nMax);
    }
}

void CSliderCtrl::GetRange(int& nMin, int& nMax) const {
    auto* s = WidgetAs<QSlider>(*this);
    nMin = s ? s->minimum() : 0;
    nMax = s ? s->maximum() : 0;
}

int CSliderCtrl::GetRangeMin() const {
    auto* s = WidgetAs<QSlider>(*this);
    return s ? s->minimum() : 0;
}

int CSliderCtrl::GetRangeMax() const {
    auto* s = WidgetAs<QSlider>(*this);
    return s ? s->maximum() : 0;
}

int CSliderCtrl::GetPos() const {
    auto* s = WidgetAs<QSlider>(*this);
    return s ? s->value() : 0;
}

void CSliderCtrl::SetPos(int nPos) {
    auto* s = WidgetAs<QSlider>(*this);
    if (!s)
        return;
    s->setValue(nPos);
    // Setting the position repaints the slider even when it does not move, as on Windows.
    s->update();
}

int CSliderCtrl::SetPageSize(int nSize) {
    auto* s = WidgetAs<QSlider>(*this);
    if (!s)
        return 0;
    const int old = s->pageStep();
    s->setPageStep(nSize);
    return old;
}

int CSliderCtrl::SetLineSize(int nSize) {
    auto* s = WidgetAs<QSlider>(*this);
    if (!s)
        return 0;
    const int old = s->singleStep();
    s->setSingleStep(nSize);
    return old;
}
