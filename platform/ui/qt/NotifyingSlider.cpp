#include "platform/ui/qt/NotifyingSlider.h"

#include <QPointer>

#include "platform/ui/CBusyScope.h"
#include "platform/ui/qt/WindowLink.h"

NotifyingSlider::NotifyingSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent) {}

void NotifyingSlider::SetRangeWithoutRedraw(int min, int max) {
    m_noRedraw = true;
    setRange(min, max);
    m_noRedraw = false;
}

void NotifyingSlider::paintEvent(QPaintEvent* event) {
    CountPaint(this);
    NMCUSTOMDRAW draw{};
    draw.dwDrawStage = CDDS_PREPAINT;
    QPointer<QSlider> self(this);
    // During a long device operation a repaint must not start another exchange with the device.
    if (!CBusyScope::IsActive())
        SendNotifyFrom(this, NM_CUSTOMDRAW, &draw.hdr);
    if (self)
        QSlider::paintEvent(event);
}

void NotifyingSlider::sliderChange(SliderChange change) {
    // The base class only schedules a repaint, and every repaint notifies the parent.
    if (!m_noRedraw)
        QSlider::sliderChange(change);
}
