// CMenu: a menu bar, a popup menu or the window menu of a window. Items send WM_COMMAND (or, in the
// window menu, WM_SYSCOMMAND) with their id to the window that owns the menu.
#pragma once

#include <memory>

#include "platform/os/CString.h"
#include "platform/ui/UiTypes.h"

struct CMenuPrivate;

class CMenu {
public:
    CMenu();
    ~CMenu();
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    HMENU m_hMenu = nullptr;

    // MF_STRING or MF_SEPARATOR; FALSE when the menu does not exist.
    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, const char* lpszNewItem = nullptr);
    // MF_BYCOMMAND (searching popups too) or MF_BYPOSITION, with MF_ENABLED, MF_GRAYED or
    // MF_DISABLED. Returns the previous state, or 0xFFFFFFFF when there is no such item.
    UINT EnableMenuItem(UINT nIDEnableItem, UINT nEnable);
    UINT GetMenuState(UINT nID, UINT nFlags) const;
    int GetMenuItemCount() const;
    UINT GetMenuItemID(int nPos) const;  // 0 for a separator, 0xFFFFFFFF for a popup
    int GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const;
    CMenu* GetSubMenu(int nPos) const;

    // Framework internals.
    CMenuPrivate& Private() const;

private:
    std::unique_ptr<CMenuPrivate> m_private;
};
