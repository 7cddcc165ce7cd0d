#include "platform/ui/qt/WindowLink.h"

#include <QVariant>

namespace {
constexpr const char* kId = "brenvoId";
constexpr const char* kWrapper = "brenvoWnd";
constexpr const char* kTarget = "brenvoTarget";
constexpr const char* kPaints = "brenvoPaints";

void SetPointer(QWidget* widget, const char* name, CWnd* wnd) {
    widget->setProperty(
        name, wnd ? QVariant::fromValue<quintptr>(reinterpret_cast<quintptr>(wnd)) : QVariant());
}

CWnd* GetPointer(const QWidget* widget, const char* name) {
    const QVariant v = widget->property(name);
    return v.isValid() ? reinterpret_cast<CWnd*>(v.value<quintptr>()) : nullptr;
}
}  // namespace

void SetControlId(QWidget* widget, UINT id) {
    widget->setProperty(kId, id);
}

UINT ControlId(const QWidget* widget) {
    const QVariant v = widget->property(kId);
    return v.isValid() ? v.toUInt() : 0;
}

void SetPermanentWrapper(QWidget* widget, CWnd* wnd) {
    SetPointer(widget, kWrapper, wnd);
}
CWnd* PermanentWrapper(const QWidget* widget) {
    return GetPointer(widget, kWrapper);
}
void SetMessageTarget(QWidget* widget, CWnd* target) {
    SetPointer(widget, kTarget, target);
}
CWnd* MessageTarget(const QWidget* widget) {
    return GetPointer(widget, kTarget);
}

CWnd* NotificationTarget(const QWidget* control) {
    for (const QWidget* w = control->parentWidget(); w; w = w->parentWidget()) {
        if (CWnd* target = MessageTarget(w))
            return target;
    }
    return nullptr;
}

void SendCommandFrom(QWidget* control, UINT code) {
    CWnd* target = NotificationTarget(control);
    if (!target)
        return;
    const WPARAM wParam =
        (ControlId(control) & 0xFFFF) | (static_cast<WPARAM>(code & 0xFFFF) << 16);
    LRESULT result = 0;
    target->OnWndMsg(WM_COMMAND, wParam, reinterpret_cast<LPARAM>(HandleOf(control)), &result);
}

LRESULT SendNotifyFrom(QWidget* control, UINT code, NMHDR* header) {
    CWnd* target = NotificationTarget(control);
    if (!target)
        return 0;
    NMHDR plain{};
    NMHDR* h = header ? header : &plain;
    h->hwndFrom = HandleOf(control);
    h->idFrom = ControlId(control);
    h->code = code;
    LRESULT result = 0;
    target->OnWndMsg(WM_NOTIFY, h->idFrom, reinterpret_cast<LPARAM>(h), &result);
    return result;
}

void CountPaint(QWidget* widget) {
    widget->setProperty(kPaints, PaintCountOf(widget) + 1);
}

int PaintCountOf(const QWidget* widget) {
    const QVariant v = widget->property(kPaints);
    return v.isValid() ? v.toInt() : 0;
}
