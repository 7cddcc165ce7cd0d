#include "platform/ui/testing/UiDriver.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QWheelEvent>

#include "platform/ui/CMenu.h"
#include "platform/ui/CWnd.h"
#include "platform/ui/qt/CMenuPrivate.h"
#include "platform/ui/qt/CWndPrivate.h"
#include "platform/ui/qt/MenuActions.h"
#include "platform/ui/qt/QtText.h"
#include "platform/ui/qt/TabControlWidget.h"
#include "platform/ui/qt/WindowLink.h"

namespace {
QWidget* Widget(const CWnd& wnd) {
    return wnd.m_hWnd ? WidgetOf(wnd.m_hWnd) : nullptr;
}

Qt::Key KeyOf(int vk) {
    switch (vk) {
        case VK_BACK:
            return Qt::Key_Backspace;
        case VK_TAB:
            return Qt::Key_Tab;
        case VK_RETURN:
            return Qt::Key_Return;
        case VK_ESCAPE:
            return Qt::Key_Escape;
        case VK_SPACE:
            return Qt::Key_Space;
        case VK_PRIOR:
            return Qt::Key_PageUp;
        case VK_NEXT:
            return Qt::Key_PageDown;
        case VK_END:
            return Qt::Key_End;
        case VK_HOME:
            return Qt::Key_Home;
        case VK_LEFT:
            return Qt::Key_Left;
        case VK_UP:
            return Qt::Key_Up;
        case VK_RIGHT:
            return Qt::Key_Right;
        case VK_DOWN:
            return Qt::Key_Down;
        case VK_DELETE:
            return Qt::Key_Delete;
        default:
            return Qt::Key_unknown;
    }
}
}  // namespace

namespace UiDriver {

void ProcessEvents() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
    }
}

void ProcessEventsFor(int milliseconds) {
    QTest::qWait(milliseconds);
}

void Show(CWnd& window) {
    QWidget* w = Widget(window);
    if (!w)
        return;
    w->show();
    QWidget* top = w->window();
    top->show();
    (void)QTest::qWaitForWindowExposed(top, 2000);
    ProcessEvents();
}

void Click(CWnd& control) {
    QWidget* w = Widget(control);
    if (!w)
        return;
    QPoint at = w->rect().center();
    if (qobject_cast<QCheckBox*>(w))
        at = QPoint(8, w->height() / 2);  // on the box itself
    QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, at);
}

void TypeText(CWnd& edit, const char* text) {
    QWidget* w = Widget(edit);
    if (!w)
        return;
    w->setFocus(Qt::OtherFocusReason);
    QTest::keyClicks(w, ToQString(text));
}

void ClearText(CWnd& edit) {
    QWidget* w = Widget(edit);
    if (!w)
        return;
    w->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(w, Qt::Key_Backspace);
}

void PickComboEntry(CWnd& combo, int index) {
    auto* c = qobject_cast<QComboBox*>(Widget(combo));
    if (!c || index < 0 || index >= c->count())
        return;
    // What the drop-down list does when a person clicks an entry: select it and report the pick.
    c->setCurrentIndex(index);
    emit c->activated(index);
}

void ClickTab(CWnd& tab, int index) {
    auto* t = dynamic_cast<TabControlWidget*>(Widget(tab));
    if (!t || index < 0 || index >= t->Bar()->count())
        return;
    QTest::mouseClick(t->Bar(), Qt::LeftButton, Qt::NoModifier, t->Bar()->tabRect(index).center());
}

namespace {
// The middle of the row's first column in the list's viewport, scrolled into view; (-1, -1) when
// there is no such row.
QPoint RowPoint(QTreeWidget* l, int row) {
    if (!l || row < 0 || row >= l->topLevelItemCount())
        return QPoint(-1, -1);
    QTreeWidgetItem* item = l->topLevelItem(row);
    l->scrollToItem(item);
    const QRect r = l->visualItemRect(item);
    return QPoint(r.left() + 5, r.center().y());
}
}  // namespace

void ClickListRow(CWnd& list, int row) {
    auto* l = qobject_cast<QTreeWidget*>(Widget(list));
    const QPoint at = RowPoint(l, row);
    if (at.x() < 0)
        return;
    QTest::mouseClick(l->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

void DoubleClickListRow(CWnd& list, int row) {
    auto* l = qobject_cast<QTreeWidget*>(Widget(list));
    const QPoint at = RowPoint(l, row);
    if (at.x() < 0)
        return;
    // What a person's double click delivers: press, release, double click, release.
    QTest::mouseClick(l->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(l->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

void PressKey(CWnd& control, int virtualKey) {
    QWidget* w = Widget(control);
    if (!w)
        return;
    w->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(w, KeyOf(virtualKey));
}

void Wheel(CWnd& control, int steps) {
    QWidget* w = Widget(control);
    if (!w)
        return;
    const QPointF at = QPointF(w->rect().center());
    QWheelEvent event(at, QPointF(w->mapToGlobal(at.toPoint())), QPoint(), QPoint(0, 120 * steps),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &event);
}

void ClickScrollBar(CWnd& scrollBar, UINT request) {
    auto* s = qobject_cast<QScrollBar*>(Widget(scrollBar));
    if (!s)
        return;
    QStyleOptionSlider opt;
    opt.initFrom(s);
    opt.subControls = QStyle::SC_All;
    opt.orientation = s->orientation();
    opt.minimum = s->minimum();
    opt.maximum = s->maximum();
    opt.sliderPosition = s->sliderPosition();
    opt.sliderValue = s->value();
    opt.singleStep = s->singleStep();
    opt.pageStep = s->pageStep();
    opt.upsideDown = s->invertedAppearance();
    QStyle::SubControl part = QStyle::SC_ScrollBarSubLine;
    switch (request) {
        case SB_LINEDOWN:
            part = QStyle::SC_ScrollBarAddLine;
            break;
        case SB_PAGEUP:
            part = QStyle::SC_ScrollBarSubPage;
            break;
        case SB_PAGEDOWN:
            part = QStyle::SC_ScrollBarAddPage;
            break;
        default:
            break;
    }
    const QRect r = s->style()->subControlRect(QStyle::CC_ScrollBar, &opt, part, s);
    QTest::mouseClick(s, Qt::LeftButton, Qt::NoModifier, r.center());
}

void CloseWindow(CWnd& window) {
    QWidget* w = Widget(window);
    if (w)
        w->window()->close();
}

BOOL TriggerMenuItem(CWnd& window, UINT id, BOOL systemMenu) {
    CMenu* menu = systemMenu ? window.GetSystemMenu(FALSE) : window.GetMenu();
    if (!menu)
        return FALSE;
    QAction* action = FindMenuCommand(menu->Private().widget.data(), id);
    if (!action || !action->isEnabled())
        return FALSE;
    action->trigger();
    return TRUE;
}

CWnd* FindChildByText(const CWnd& window, const char* text) {
    QWidget* client = ClientOf(window);
    if (!client)
        return nullptr;
    for (QObject* child : client->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (!w || ControlId(w) == 0)
            continue;
        CString current;
        CWnd* control = CWnd::FromHandle(HandleOf(w));
        control->GetWindowText(current);
        if (current == text)
            return control;
    }
    return nullptr;
}

CRect Geometry(const CWnd& window) {
    QWidget* w = Widget(window);
    if (!w)
        return CRect();
    const QRect g = w->geometry();
    return CRect(g.left(), g.top(), g.left() + g.width(), g.top() + g.height());
}

int PaintCount(const CWnd& window) {
    QWidget* w = ClientOf(window);
    return w ? PaintCountOf(w) : 0;
}

}  // namespace UiDriver

namespace UiDriver {

int TimerPeriod(const CWnd& window, UINT_PTR id) {
    const auto& timers = window.Private().timers;
    const auto it = timers.find(id);
    if (it == timers.end() || !it->second || !it->second->isActive())
        return -1;
    return it->second->interval();
}

}  // namespace UiDriver
