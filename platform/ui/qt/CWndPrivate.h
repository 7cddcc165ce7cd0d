// The toolkit side of a CWnd: its client area, timers, menus and icons.
#pragma once

#include <QMetaObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <map>
#include <memory>

#include "platform/ui/CMenu.h"
#include "platform/ui/CWnd.h"

class QPainter;

struct CWndPrivate {
    // Where the window's controls live and its paint arrives; the widget itself for controls.
    QPointer<QWidget> client;
    QMetaObject::Connection destroyedConnection;
    bool ownsWidget = false;  // created by the wrapper (dialogs): destroyed with it
    bool temporary = false;   // made by FromHandle; deleted when its widget goes
    std::map<UINT_PTR, QPointer<QTimer>> timers;
    std::unique_ptr<CMenu> menu;
    std::unique_ptr<CMenu> systemMenu;
    HICON bigIcon = nullptr;
    HICON smallIcon = nullptr;
    QPainter* painter = nullptr;  // set while WM_PAINT is dispatched from a paint event
    // What a posted message finds when it is delivered: this wrapper while it lives. Made once
    // with the wrapper, so that other threads may take it without a lock.
    std::shared_ptr<CWnd*> postTarget;
};

// The client area of a window (controls live there), or null.
QWidget* ClientOf(const CWnd& wnd);
