#include "platform/ui/CMenu.h"

#include <QAction>
#include <QMenu>

#include "platform/ui/qt/CMenuPrivate.h"
#include "platform/ui/qt/MenuActions.h"
#include "platform/ui/qt/Mnemonics.h"
#include "platform/ui/qt/QtText.h"

namespace {
constexpr UINT kNoItem = 0xFFFFFFFF;

QAction* Find(QWidget* menu, UINT item, UINT flags) {
    if (!menu)
        return nullptr;
    if (flags & MF_BYPOSITION) {
        const QList<QAction*> actions = menu->actions();
        return item < static_cast<UINT>(actions.size()) ? actions[static_cast<int>(item)] : nullptr;
    }
    return FindMenuCommand(menu, item);
}
}  // namespace

void AttachMenu(CMenu& menu, QWidget* widget) {
    menu.Private().widget = widget;
    menu.m_hMenu = reinterpret_cast<HMENU>(widget);
}

CMenu::CMenu() : m_private(std::make_unique<CMenuPrivate>()) {}
CMenu::~CMenu() = default;

CMenuPrivate& CMenu::Private() const {
    return *m_private;
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, const char* lpszNewItem) {
    QWidget* menu = m_private->widget.data();
    if (!menu)
        return FALSE;
    QAction* action = nullptr;
    if (nFlags & MF_SEPARATOR) {
        action = NewMenuSeparator(menu);
    } else if (nFlags & MF_POPUP) {
        auto* sub = reinterpret_cast<QMenu*>(nIDNewItem);
        if (!sub)
            return FALSE;
        sub->setTitle(ShownQString(lpszNewItem));
        action = sub->menuAction();
    } else {
        action = NewMenuCommand(menu, static_cast<UINT>(nIDNewItem), ShownQString(lpszNewItem));
    }
    SetMenuItemState(action, nFlags);
    menu->addAction(action);
    AssignMenuMnemonics(menu);
    return TRUE;
}

UINT CMenu::EnableMenuItem(UINT nIDEnableItem, UINT nEnable) {
    QAction* a = Find(m_private->widget.data(), nIDEnableItem, nEnable);
    if (!a)
        return kNoItem;
    const UINT previous = MenuItemState(a);
    SetMenuItemState(a, nEnable);
    return previous;
}

UINT CMenu::GetMenuState(UINT nID, UINT nFlags) const {
    QAction* a = Find(m_private->widget.data(), nID, nFlags);
    if (!a)
        return kNoItem;
    if (a->isSeparator())
        return MF_SEPARATOR;
    UINT state = MenuItemState(a);
    if (a->isChecked())
        state |= MF_CHECKED;
    if (a->menu())
        state |= MF_POPUP | (static_cast<UINT>(a->menu()->actions().size()) << 8);
    return state;
}

int CMenu::GetMenuItemCount() const {
    QWidget* menu = m_private->widget.data();
    return menu ? static_cast<int>(menu->actions().size()) : -1;
}

UINT CMenu::GetMenuItemID(int nPos) const {
    QAction* a = Find(m_private->widget.data(), static_cast<UINT>(nPos), MF_BYPOSITION);
    if (!a || a->menu())
        return kNoItem;
    return a->isSeparator() ? 0 : MenuItemId(a);
}

int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const {
    QAction* a = Find(m_private->widget.data(), nIDItem, nFlags);
    rString = a ? FromQString(WithoutAddedMnemonic(a, a->text())) : CString();
    return rString.GetLength();
}

CMenu* CMenu::GetSubMenu(int nPos) const {
    QAction* a = Find(m_private->widget.data(), static_cast<UINT>(nPos), MF_BYPOSITION);
    if (!a || !a->menu())
        return nullptr;
    QMenu* sub = a->menu();
    std::unique_ptr<CMenu>& slot = m_private->subMenus[sub];
    if (!slot || slot->Private().widget.data() != sub) {
        slot = std::make_unique<CMenu>();
        AttachMenu(*slot, sub);
    }
    return slot.get();
}
