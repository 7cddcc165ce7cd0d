// The links between the framework's handles and wrappers and the toolkit's widgets: a handle is the
// widget's address; widgets carry their control id, their permanent wrapper and the window that
// receives the messages arriving at them.
#pragma once

#include <QWidget>

#include "platform/ui/CWnd.h"

inline QWidget* WidgetOf(HWND hWnd) {
    return reinterpret_cast<QWidget*>(hWnd);
}
inline HWND HandleOf(QWidget* widget) {
    return reinterpret_cast<HWND>(widget);
}
// The wrapper's widget as the toolkit class it must be, or null.
template <class T>
T* WidgetAs(const CWnd& wnd) {
    return wnd.m_hWnd ? dynamic_cast<T*>(WidgetOf(wnd.m_hWnd)) : nullptr;
}

void SetControlId(QWidget* widget, UINT id);
// 0 when the widget is no template control.
UINT ControlId(const QWidget* widget);
void SetPermanentWrapper(QWidget* widget, CWnd* wnd);
CWnd* PermanentWrapper(const QWidget* widget);
// The dialog that handles messages arriving at this widget (its client area or frame).
void SetMessageTarget(QWidget* widget, CWnd* target);
CWnd* MessageTarget(const QWidget* widget);
// The window that receives a control's notifications: the first ancestor with a message target.
CWnd* NotificationTarget(const QWidget* control);

// WM_COMMAND with the control's id and the code, sent to its notification target.
void SendCommandFrom(QWidget* control, UINT code);
// WM_NOTIFY with an NMHDR (or a structure starting with one) filled in from the control.
LRESULT SendNotifyFrom(QWidget* control, UINT code, NMHDR* header = nullptr);
// Counts paints of a widget (read by the test driver).
void CountPaint(QWidget* widget);
int PaintCountOf(const QWidget* widget);
