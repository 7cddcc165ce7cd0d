#include "platform/ui/qt/RequestScrollBar.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include "platform/ui/qt/WindowLink.h"

RequestScrollBar::RequestScrollBar(QWidget* parent) : QScrollBar(Qt::Vertical, parent) {
    setPageStep(1);
    connect(this, &QAbstractSlider::actionTriggered, this,
            [this](int action) { OnAction(action); });
    connect(this, &QAbstractSlider::sliderReleased, this, [this]() {
        Send(SB_THUMBPOSITION, m_trackPos);
        Send(SB_ENDSCROLL, 0);
    });
}

void RequestScrollBar::OnAction(int action) {
    if (m_restoring)
        return;
    // The toolkit has already put the requested position into sliderPosition(); undo it.
    const int requested = sliderPosition();
    m_restoring = true;
    setSliderPosition(value());
    m_restoring = false;
    switch (action) {
        case SliderSingleStepAdd:
            Send(SB_LINEDOWN, 0);
            break;
        case SliderSingleStepSub:
            Send(SB_LINEUP, 0);
            break;
        case SliderPageStepAdd:
            Send(SB_PAGEDOWN, 0);
            break;
        case SliderPageStepSub:
            Send(SB_PAGEUP, 0);
            break;
        case SliderToMinimum:
            Send(SB_TOP, 0);
            break;
        case SliderToMaximum:
            Send(SB_BOTTOM, 0);
            break;
        case SliderMove:
            m_trackPos = requested;
            Send(SB_THUMBTRACK, requested);
            break;
        default:
            break;
    }
}

void RequestScrollBar::Send(unsigned code, int pos) {
    CWnd* target = NotificationTarget(this);
    if (!target)
        return;
    const WPARAM wParam = (code & 0xFFFF) | (static_cast<WPARAM>(static_cast<unsigned>(pos)) << 16);
    LRESULT result = 0;
    target->OnWndMsg(WM_VSCROLL, wParam, reinterpret_cast<LPARAM>(HandleOf(this)), &result);
}

void RequestScrollBar::mouseReleaseEvent(QMouseEvent* event) {
    const bool wasDown = isSliderDown();
    QScrollBar::mouseReleaseEvent(event);
    if (!wasDown && event->button() == Qt::LeftButton)
        Send(SB_ENDSCROLL, 0);
}

void RequestScrollBar::keyReleaseEvent(QKeyEvent* event) {
    QScrollBar::keyReleaseEvent(event);
    if (!event->isAutoRepeat())
        Send(SB_ENDSCROLL, 0);
}
