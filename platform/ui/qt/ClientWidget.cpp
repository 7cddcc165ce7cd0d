#include "platform/ui/qt/ClientWidget.h"

#include <QKeyEvent>
#include <QPainter>

#include "platform/ui/qt/CWndPrivate.h"
#include "platform/ui/qt/DialogKeys.h"
#include "platform/ui/qt/WindowLink.h"

ClientWidget::ClientWidget(QWidget* parent, bool handlesKeys)
    : QWidget(parent), m_handlesKeys(handlesKeys) {}

void ClientWidget::paintEvent(QPaintEvent* event) {
    CountPaint(this);
    QWidget::paintEvent(event);
    CWnd* target = MessageTarget(this);
    if (!target)
        return;
    QPainter painter(this);
    CWndPrivate& p = target->Private();
    QPainter* previous = p.painter;
    p.painter = &painter;
    LRESULT result = 0;
    target->OnWndMsg(WM_PAINT, 0, 0, &result);
    p.painter = previous;
}

void ClientWidget::keyPressEvent(QKeyEvent* event) {
    if (m_handlesKeys && RouteDialogKey(event, MessageTarget(this), this)) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}
