#include "platform/ui/CBusyScope.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QThread>

#include "platform/os/TimeService.h"

namespace {

// Lets through what keeps the windows painted and known to the desktop (paint, expose, resize,
// the window manager's liveness checks, posted work); swallows what a person does, so that no
// click or key waits to act once the operation is over, and refuses close requests.
class BusyFilter final : public QObject {
public:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::MouseMove:
            case QEvent::NonClientAreaMouseButtonPress:
            case QEvent::NonClientAreaMouseButtonRelease:
            case QEvent::NonClientAreaMouseButtonDblClick:
            case QEvent::NonClientAreaMouseMove:
            case QEvent::Wheel:
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
            case QEvent::ShortcutOverride:
            case QEvent::Shortcut:
            case QEvent::ContextMenu:
            case QEvent::TouchBegin:
            case QEvent::TouchUpdate:
            case QEvent::TouchEnd:
            case QEvent::TabletPress:
            case QEvent::TabletRelease:
            case QEvent::TabletMove:
            case QEvent::DragEnter:
            case QEvent::DragMove:
            case QEvent::Drop:
            case QEvent::HoverEnter:
            case QEvent::HoverMove:
            case QEvent::HoverLeave:
                return true;
            case QEvent::Close:
                event->ignore();
                return true;
            default:
                return false;
        }
    }
};

int g_depth = 0;
BusyFilter* g_filter = nullptr;
bool g_pumped = false;  // the production sleep has pumped during this scope
std::function<void()> g_finished;

void PumpWindows() {
    // Only the thread that owns the windows may deliver their events.
    QCoreApplication* app = QCoreApplication::instance();
    if (app != nullptr && QThread::currentThread() == app->thread()) {
        g_pumped = true;
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}

}  // namespace

CBusyScope::CBusyScope() {
    if (g_depth++ == 0) {
        g_pumped = false;
        if (QCoreApplication* app = QCoreApplication::instance()) {
            g_filter = new BusyFilter;
            app->installEventFilter(g_filter);
        }
        SetSleepPump(&PumpWindows);
    }
}

CBusyScope::~CBusyScope() {
    if (g_depth == 1) {
        SetSleepPump(nullptr);
        // Input and timer ticks that arrived after the last pause are swallowed too, not left to
        // act afterwards: the scope still counts as active while they are taken.
        if (g_pumped) {
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        }
        delete g_filter;  // a deleted filter removes itself from the application
        g_filter = nullptr;
    }
    if (--g_depth == 0 && g_finished) {
        g_finished();
    }
}

void CBusyScope::SetFinishedHook(std::function<void()> hook) {
    g_finished = std::move(hook);
}

bool CBusyScope::IsActive() {
    return g_depth > 0;
}
