// The toolkit side of a CMenu: the menu bar or popup it stands for.
#pragma once

#include <QPointer>
#include <QWidget>
#include <map>
#include <memory>

#include "platform/ui/CMenu.h"

struct CMenuPrivate {
    QPointer<QWidget> widget;  // a QMenuBar or QMenu
    mutable std::map<const QWidget*, std::unique_ptr<CMenu>> subMenus;
};

// Makes the menu stand for the widget.
void AttachMenu(CMenu& menu, QWidget* widget);
