#include "platform/ui/qt/ListViewWidget.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>

#include "platform/ui/qt/WindowLink.h"

ListViewWidget::ListViewWidget(QWidget* parent) : QTreeWidget(parent) {
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setItemsExpandable(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAllColumnsShowFocus(true);
    setColumnCount(0);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
}

void ListViewWidget::mouseReleaseEvent(QMouseEvent* event) {
    QPointer<ListViewWidget> self(this);
    const bool second = m_afterDoubleClick;
    m_afterDoubleClick = false;
    QTreeWidget::mouseReleaseEvent(event);
    if (self && !second && event->button() == Qt::LeftButton) {
        SendNotifyFrom(this, NM_CLICK);
    }
}

void ListViewWidget::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Space || event->modifiers() != Qt::NoModifier) {
        QTreeWidget::keyPressEvent(event);
        return;
    }
    QTreeWidgetItem* item = currentItem();
    if (!item && topLevelItemCount() > 0)
        item = topLevelItem(0);
    if (!item)
        return;
    setCurrentItem(item);
    item->setSelected(true);
    event->accept();
    SendNotifyFrom(this, NM_CLICK);
}

void ListViewWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    m_afterDoubleClick = true;
    QTreeWidget::mouseDoubleClickEvent(event);
}
