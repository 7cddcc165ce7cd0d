#include "platform/ui/qt/ListViewWidget.h"

#include <QHeaderView>
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
    QTreeWidget::mouseReleaseEvent(event);
    if (self && event->button() == Qt::LeftButton) {
        SendNotifyFrom(this, NM_CLICK);
    }
}
