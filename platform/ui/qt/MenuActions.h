// Menu items as toolkit actions: each carries its command id and Windows state, and when triggered
// sends WM_COMMAND (or WM_SYSCOMMAND in a window menu) to the window whose menu holds it.
#pragma once

#include <QAction>
#include <QWidget>

#include "platform/ui/UiTypes.h"

QAction* NewMenuCommand(QWidget* menu, UINT id, const QString& text);
QAction* NewMenuSeparator(QWidget* menu);
// Marks a menu (and the menus added to it later) as a window menu whose items send WM_SYSCOMMAND.
void MarkSystemMenu(QWidget* menu);
UINT MenuItemId(const QAction* action);
// The command item with that id in the menu or its popups (separators and popups never match), or
// null.
QAction* FindMenuCommand(QWidget* menu, UINT id);
UINT MenuItemState(const QAction* action);  // MF_GRAYED / MF_DISABLED bits
void SetMenuItemState(QAction* action, UINT state);
