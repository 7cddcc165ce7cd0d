#include "platform/ui/qt/MenuActions.h"

#include <QKeySequence>
#include <QMenu>
#include <QVariant>

#include "platform/ui/qt/WindowLink.h"

namespace {
constexpr const char* kState = "brenvoState";
constexpr const char* kSystem = "brenvoSystemMenu";

// The window that owns the menu: the first ancestor (through popup parents) with a message target.
CWnd* OwnerOf(QObject* menu) {
    for (QObject* o = menu; o; o = o->parent()) {
        if (auto* w = qobject_cast<QWidget*>(o)) {
            if (CWnd* target = MessageTarget(w))
                return target;
        }
    }
    return nullptr;
}

bool IsSystemMenu(QObject* menu) {
    for (QObject* o = menu; o; o = o->parent()) {
        if (o->property(kSystem).toBool())
            return true;
        if (!qobject_cast<QMenu*>(o))
            break;
    }
    return false;
}
}  // namespace

QAction* NewMenuCommand(QWidget* menu, UINT id, const QString& text) {
    // "Label\tF5": the text after the tab is the item's shortcut, shown beside it and acting as it.
    const qsizetype tab = text.indexOf(QLatin1Char('\t'));
    auto* action = new QAction(tab < 0 ? text : text.left(tab), menu);
    if (tab >= 0) {
        action->setShortcut(QKeySequence(text.mid(tab + 1)));
    }
    action->setData(id);
    QObject::connect(action, &QAction::triggered, action, [action, id]() {
        QWidget* menuWidget = qobject_cast<QWidget*>(action->parent());
        CWnd* owner = OwnerOf(menuWidget);
        if (!owner)
            return;
        LRESULT result = 0;
        if (IsSystemMenu(menuWidget)) {
            owner->OnWndMsg(WM_SYSCOMMAND, id, 0, &result);
        } else {
            owner->OnWndMsg(WM_COMMAND, id & 0xFFFF, 0, &result);
        }
    });
    return action;
}

QAction* NewMenuSeparator(QWidget* menu) {
    auto* action = new QAction(menu);
    action->setSeparator(true);
    return action;
}

void MarkSystemMenu(QWidget* menu) {
    menu->setProperty(kSystem, true);
}

UINT MenuItemId(const QAction* action) {
    return action->data().isValid() ? action->data().toUInt() : 0;
}

QAction* FindMenuCommand(QWidget* menu, UINT id) {
    if (!menu)
        return nullptr;
    for (QAction* a : menu->actions()) {
        if (a->menu()) {
            if (QAction* found = FindMenuCommand(a->menu(), id))
                return found;
        } else if (!a->isSeparator() && MenuItemId(a) == id) {
            return a;
        }
    }
    return nullptr;
}

UINT MenuItemState(const QAction* action) {
    const QVariant v = action->property(kState);
    return v.isValid() ? v.toUInt() : 0;
}

void SetMenuItemState(QAction* action, UINT state) {
    action->setProperty(kState, state & (MF_GRAYED | MF_DISABLED));
    action->setEnabled((state & (MF_GRAYED | MF_DISABLED)) == 0);
}
