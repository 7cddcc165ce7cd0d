#include "platform/ui/qt/DialogKeys.h"

#include <QPushButton>

#include "platform/ui/AfxFunctions.h"
#include "platform/ui/qt/WindowLink.h"

namespace {
constexpr const char* kDefault = "brenvoDefault";

void SendCommand(CWnd* target, UINT id, QWidget* control) {
    LRESULT result = 0;
    target->OnWndMsg(WM_COMMAND, id & 0xFFFF, reinterpret_cast<LPARAM>(control), &result);
}
}  // namespace

void SendCancel(CWnd* target) {
    if (target)
        SendCommand(target, IDCANCEL, nullptr);
}

bool RouteDialogKey(QKeyEvent* event, CWnd* target, QWidget* client) {
    if (!target || !client)
        return false;
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if (mods != Qt::NoModifier)
        return false;
    if (event->key() == Qt::Key_Escape) {
        SendCancel(target);
        return true;
    }
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        return false;
    QWidget* focus = client->window()->focusWidget();
    if (auto* button = qobject_cast<QPushButton*>(focus)) {
        if (client->isAncestorOf(button) && button->isEnabled()) {
            button->click();
            return true;
        }
    }
    UINT id = IDOK;
    QWidget* control = nullptr;
    for (QObject* child : client->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (w && w->property(kDefault).toBool()) {
            id = ControlId(w);
            control = w;
            break;
        }
    }
    if (control && !control->isEnabled()) {
        MessageBeep(0);
        return true;
    }
    SendCommand(target, id, control);
    return true;
}
