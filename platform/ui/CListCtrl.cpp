#include "platform/ui/CListCtrl.h"

#include <QItemSelectionModel>

#include "platform/ui/qt/ListViewWidget.h"
#include "platform/ui/qt/QtText.h"
#include "platform/ui/qt/WindowLink.h"

namespace {
Qt::Alignment AlignmentOf(int format) {
    switch (format & 3) {
        case LVCFMT_RIGHT:
            return Qt::AlignRight | Qt::AlignVCenter;
        case LVCFMT_CENTER:
            return Qt::AlignHCenter | Qt::AlignVCenter;
        default:
            return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

QTreeWidgetItem* Row(ListViewWidget* list, int nItem) {
    return list && nItem >= 0 && nItem < list->topLevelItemCount() ? list->topLevelItem(nItem)
                                                                   : nullptr;
}
}  // namespace

int CListCtrl::GetColumnWidth(int nCol) const {
    auto* list = WidgetAs<ListViewWidget>(*this);
    if (!list || nCol < 0 || nCol >= list->columnCount())
        return 0;
    return list->columnWidth(nCol);
}

BOOL CListCtrl::SetColumnWidth(int nCol, int cx) {
    auto* list = WidgetAs<ListViewWidget>(*this);
    if (!list || nCol < 0 || nCol >= list->columnCount())
        return FALSE;
    if (cx == LVSCW_AUTOSIZE_USEHEADER) {
        list->resizeColumnToContents(nCol);
    } else if (cx >= 0) {
        list->setColumnWidth(nCol, cx);
    } else {
        return FALSE;
    }
    return TRUE;
}

CString CListCtrl::GetHeadingText(int nCol) const {
    auto* list = WidgetAs<ListViewWidget>(*this);
    if (!list || nCol < 0 || nCol >= list->columnCount())
        return CString();
    return FromQString(list->headerItem()->text(nCol));
}

int CListCtrl::InsertColumn(int nCol, const char* heading, int nFormat, int nWidth, int) {
    auto* list = WidgetAs<ListViewWidget>(*this);
    if (!list || nCol < 0)
        return -1;
    const int count = list->columnCount();
    const int at = nCol > count ? count : nCol;
    QTreeWidgetItem* header = list->headerItem();
    // Columns after the insertion point move one to the right, texts with them.
    list->setColumnCount(count + 1);
    for (int c = count; c > at; --c) {
        header->setText(c, header->text(c - 1));
        header->setTextAlignment(c, Qt::Alignment(header->textAlignment(c - 1)));
        list->setColumnWidth(c, list->columnWidth(c - 1));
        for (int r = 0; r < list->topLevelItemCount(); ++r) {
            QTreeWidgetItem* item = list->topLevelItem(r);
            item->setText(c, item->text(c - 1));
            item->setTextAlignment(c, Qt::Alignment(item->textAlignment(c - 1)));
        }
    }
    header->setText(at, ShownQString(heading));
    header->setTextAlignment(at, AlignmentOf(nFormat));
    for (int r = 0; r < list->topLevelItemCount(); ++r) {
        list->topLevelItem(r)->setText(at, QString());
        list->topLevelItem(r)->setTextAlignment(at, AlignmentOf(nFormat));
    }
    if (nWidth >= 0)
        list->setColumnWidth(at, nWidth);
    return at;
}

DWORD CListCtrl::SetExtendedStyle(DWORD dwNewStyle) {
    auto* list = WidgetAs<ListViewWidget>(*this);
    if (!list)
        return 0;
    const DWORD old = list->extendedStyle;
    list->extendedStyle = dwNewStyle;
    return old;
}

DWORD CListCtrl::GetExtendedStyle() const {
    auto* list = WidgetAs<ListViewWidget>(*this);
    return list ? list->extendedStyle : 0;
}

BOOL CListCtrl::DeleteAllItems() {
    auto* list = WidgetAs<ListViewWidget>(*this);
    if (!list)
        return FALSE;
    list->clear();
    return TRUE;
}

int CListCtrl::InsertItem(int nItem, const char* text) {
    auto* list = WidgetAs<ListViewWidget>(*this);
    if (!list || nItem < 0)
        return -1;
    const int count = list->topLevelItemCount();
    const int at = nItem > count ? count : nItem;
    auto* item = new QTreeWidgetItem();
    item->setText(0, ToQString(text));
    for (int c = 0; c < list->columnCount(); ++c) {
        item->setTextAlignment(c, Qt::Alignment(list->headerItem()->textAlignment(c)));
    }
    list->insertTopLevelItem(at, item);
    return at;
}

BOOL CListCtrl::SetItemText(int nItem, int nSubItem, const char* text) {
    auto* list = WidgetAs<ListViewWidget>(*this);
    QTreeWidgetItem* item = Row(list, nItem);
    if (!item || nSubItem < 0 || nSubItem >= std::max(1, list->columnCount()))
        return FALSE;
    item->setText(nSubItem, ToQString(text));
    return TRUE;
}

CString CListCtrl::GetItemText(int nItem, int nSubItem) const {
    QTreeWidgetItem* item = Row(WidgetAs<ListViewWidget>(*this), nItem);
    return item && nSubItem >= 0 ? FromQString(item->text(nSubItem)) : CString();
}

int CListCtrl::GetItemCount() const {
    auto* list = WidgetAs<ListViewWidget>(*this);
    return list ? list->topLevelItemCount() : 0;
}

int CListCtrl::GetNextItem(int nItem, int nFlags) const {
    auto* list = WidgetAs<ListViewWidget>(*this);
    if (!list)
        return -1;
    const int count = list->topLevelItemCount();
    for (int i = nItem < 0 ? 0 : nItem + 1; i < count; ++i) {
        if (!(nFlags & LVNI_SELECTED) || list->topLevelItem(i)->isSelected())
            return i;
    }
    return -1;
}

POSITION CListCtrl::GetFirstSelectedItemPosition() const {
    const int first = GetNextItem(-1, LVNI_SELECTED);
    return first < 0 ? nullptr : reinterpret_cast<POSITION>(static_cast<std::intptr_t>(first + 1));
}

int CListCtrl::GetNextSelectedItem(POSITION& pos) const {
    const int current = static_cast<int>(reinterpret_cast<std::intptr_t>(pos)) - 1;
    const int next = GetNextItem(current, LVNI_SELECTED);
    pos = next < 0 ? nullptr : reinterpret_cast<POSITION>(static_cast<std::intptr_t>(next + 1));
    return current;
}

BOOL CListCtrl::SetItemState(int nItem, UINT nState, UINT nMask) {
    auto* list = WidgetAs<ListViewWidget>(*this);
    QTreeWidgetItem* item = Row(list, nItem);
    if (!item)
        return FALSE;
    if (nMask & LVIS_SELECTED) {
        const bool select = (nState & LVIS_SELECTED) != 0;
        const QModelIndex index = list->indexFromItem(item);
        if (select) {
            // A single-selection list keeps one selected row.
            list->selectionModel()->select(
                index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        } else {
            list->selectionModel()->select(
                index, QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
        }
    }
    if ((nMask & LVIS_FOCUSED) && (nState & LVIS_FOCUSED)) {
        list->selectionModel()->setCurrentIndex(list->indexFromItem(item),
                                                QItemSelectionModel::NoUpdate);
    }
    return TRUE;
}

UINT CListCtrl::GetItemState(int nItem, UINT nMask) const {
    auto* list = WidgetAs<ListViewWidget>(*this);
    QTreeWidgetItem* item = Row(list, nItem);
    if (!item)
        return 0;
    UINT state = 0;
    if (item->isSelected())
        state |= LVIS_SELECTED;
    if (list->currentItem() == item)
        state |= LVIS_FOCUSED;
    return state & nMask;
}

BOOL CListCtrl::EnsureVisible(int nItem, BOOL) {
    auto* list = WidgetAs<ListViewWidget>(*this);
    QTreeWidgetItem* item = Row(list, nItem);
    if (!item)
        return FALSE;
    list->scrollToItem(item);
    return TRUE;
}
