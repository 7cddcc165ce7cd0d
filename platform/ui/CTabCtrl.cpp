#include "platform/ui/CTabCtrl.h"

#include "platform/ui/qt/QtText.h"
#include "platform/ui/qt/TabControlWidget.h"
#include "platform/ui/qt/WindowLink.h"

int CTabCtrl::InsertItem(int nItem, TCITEM* pTabCtrlItem) {
    auto* tab = WidgetAs<TabControlWidget>(*this);
    if (!tab || !pTabCtrlItem || nItem < 0)
        return -1;
    const char* text = (pTabCtrlItem->mask & TCIF_TEXT) ? pTabCtrlItem->pszText : nullptr;
    return tab->InsertTab(nItem, ShownQString(text));
}

int CTabCtrl::InsertItem(int nItem, const char* text) {
    TCITEM item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(text);
    return InsertItem(nItem, &item);
}

BOOL CTabCtrl::DeleteAllItems() {
    auto* tab = WidgetAs<TabControlWidget>(*this);
    if (!tab)
        return FALSE;
    tab->RemoveAll();
    return TRUE;
}

BOOL CTabCtrl::DeleteItem(int nItem) {
    auto* tab = WidgetAs<TabControlWidget>(*this);
    if (!tab || nItem < 0 || nItem >= tab->Bar()->count())
        return FALSE;
    tab->RemoveTab(nItem);
    return TRUE;
}

int CTabCtrl::GetItemCount() const {
    auto* tab = WidgetAs<TabControlWidget>(*this);
    return tab ? tab->Bar()->count() : 0;
}

int CTabCtrl::GetCurSel() const {
    auto* tab = WidgetAs<TabControlWidget>(*this);
    return tab ? tab->Bar()->currentIndex() : -1;
}

int CTabCtrl::SetCurSel(int nItem) {
    auto* tab = WidgetAs<TabControlWidget>(*this);
    if (!tab || nItem < 0 || nItem >= tab->Bar()->count())
        return -1;
    const int old = tab->Bar()->currentIndex();
    tab->SetCurrent(nItem);
    return old;
}

BOOL CTabCtrl::GetItemRect(int nItem, LPRECT lpRect) const {
    auto* tab = WidgetAs<TabControlWidget>(*this);
    if (!tab || !lpRect || nItem < 0 || nItem >= tab->Bar()->count())
        return FALSE;
    const QRect r = tab->Bar()->tabRect(nItem).translated(tab->Bar()->pos());
    *lpRect = RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
    return TRUE;
}

CString CTabCtrl::GetItemText(int nItem) const {
    auto* tab = WidgetAs<TabControlWidget>(*this);
    if (!tab || nItem < 0 || nItem >= tab->Bar()->count())
        return CString();
    return FromQString(tab->Bar()->tabText(nItem));
}
