#include "platform/ui/qt/TabControlWidget.h"

#include <QStyleOptionTabWidgetFrame>
#include <QStylePainter>

#include "platform/ui/qt/WindowLink.h"

TabControlWidget::TabControlWidget(QWidget* parent) : QWidget(parent), m_bar(new QTabBar(this)) {
    m_bar->setExpanding(false);
    m_bar->setUsesScrollButtons(true);
    m_bar->setDrawBase(false);
    m_bar->move(0, 0);
    connect(m_bar, &QTabBar::currentChanged, this, [this](int) {
        if (!m_programChange)
            SendNotifyFrom(this, TCN_SELCHANGE);
    });
}

int TabControlWidget::InsertTab(int index, const QString& text) {
    m_programChange = true;
    const int at = m_bar->insertTab(index, text);
    m_programChange = false;
    m_bar->resize(width(), m_bar->sizeHint().height());
    return at;
}

void TabControlWidget::RemoveAll() {
    m_programChange = true;
    while (m_bar->count() > 0)
        m_bar->removeTab(m_bar->count() - 1);
    m_programChange = false;
}

void TabControlWidget::RemoveTab(int index) {
    m_programChange = true;
    m_bar->removeTab(index);
    m_programChange = false;
}

void TabControlWidget::SetCurrent(int index) {
    m_programChange = true;
    m_bar->setCurrentIndex(index);
    m_programChange = false;
}

void TabControlWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_bar->resize(width(), m_bar->sizeHint().height());
}

void TabControlWidget::paintEvent(QPaintEvent*) {
    CountPaint(this);
    QStylePainter painter(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    const int barHeight = m_bar->sizeHint().height();
    frame.rect = QRect(0, barHeight - 1, width(), height() - barHeight + 1);
    frame.tabBarSize = m_bar->sizeHint();
    frame.shape = QTabBar::RoundedNorth;
    painter.drawPrimitive(QStyle::PE_FrameTabWidget, frame);
}
