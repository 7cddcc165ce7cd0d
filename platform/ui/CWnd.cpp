#include "platform/ui/CWnd.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <map>

#include "platform/os/UserLanguage.h"
#include "platform/ui/CBusyScope.h"
#include "platform/ui/CDataExchange.h"
#include "platform/ui/CMenu.h"
#include "platform/ui/CScrollBar.h"
#include "platform/ui/CWinApp.h"
#include "platform/ui/UiSeam.h"
#include "platform/ui/qt/CWndPrivate.h"
#include "platform/ui/qt/ControlNames.h"
#include "platform/ui/qt/DataExchangeFailure.h"
#include "platform/ui/qt/Handles.h"
#include "platform/ui/qt/Mnemonics.h"
#include "platform/ui/qt/PictureLabel.h"
#include "platform/ui/qt/QtText.h"
#include "platform/ui/qt/WindowLink.h"

namespace {
// Temporary wrappers made by FromHandle, one per widget, deleted when the widget goes.
std::map<const QWidget*, std::unique_ptr<CWnd>>& Temporaries() {
    static std::map<const QWidget*, std::unique_ptr<CWnd>> map;
    return map;
}

QString TextOf(const QWidget* w) {
    if (w->isWindow())
        return w->windowTitle();
    if (auto* b = qobject_cast<const QAbstractButton*>(w))
        return WithoutAddedMnemonic(b, b->text());
    if (auto* l = qobject_cast<const QLabel*>(w))
        return WithoutAddedMnemonic(l, l->text());
    if (auto* e = qobject_cast<const QLineEdit*>(w))
        return e->text();
    if (auto* g = qobject_cast<const QGroupBox*>(w))
        return g->title();
    if (auto* c = qobject_cast<const QComboBox*>(w))
        return c->currentText();
    return w->windowTitle();
}

void SetTextOf(QWidget* w, const QString& text) {
    if (w->isWindow()) {
        w->setWindowTitle(text);
    } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
        b->setText(WithAddedMnemonic(b, text));
    } else if (auto* l = qobject_cast<QLabel*>(w)) {
        l->setText(WithAddedMnemonic(l, text));
        if (l->parentWidget())
            RefreshControlNames(l->parentWidget());  // the name of the field it labels follows it
    } else if (auto* e = qobject_cast<QLineEdit*>(w)) {
        e->setText(text);
    } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
        g->setTitle(text);
    } else {
        // A child window's text is its caption: a page's names its controls.
        w->setWindowTitle(text);
        RefreshControlNames(w);
    }
}

// Looks the handler up in the maps, most derived first.
const AFX_MSGMAP_ENTRY* FindEntry(const AFX_MSGMAP* map, UINT message, UINT code, UINT id) {
    for (; map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e && e->nMessage != 0; ++e) {
            if (e->nMessage != message)
                continue;
            if ((message == WM_COMMAND || message == WM_NOTIFY) &&
                (e->nCode != code || e->nID != id))
                continue;
            return e;
        }
    }
    return nullptr;
}
}  // namespace

QWidget* ClientOf(const CWnd& wnd) {
    if (!wnd.m_hWnd)
        return nullptr;
    QWidget* client = wnd.Private().client.data();
    return client ? client : WidgetOf(wnd.m_hWnd);
}

CWnd::CWnd() : m_private(std::make_unique<CWndPrivate>()) {
    m_private->postTarget = std::make_shared<CWnd*>(this);
}

CWnd::~CWnd() {
    *m_private->postTarget = nullptr;  // messages still queued for it are dropped
    // Message boxes and modal dialogs take the main window as their owner: never a freed one.
    if (CWinApp* app = AfxGetApp(); app && app->m_pMainWnd == this)
        app->m_pMainWnd = nullptr;
    // Timers call back into this wrapper: they go with it, even when its widget stays.
    for (auto& timer : m_private->timers)
        delete timer.second.data();
    m_private->timers.clear();
    QWidget* w = m_hWnd ? WidgetOf(m_hWnd) : nullptr;
    if (w) {
        QObject::disconnect(m_private->destroyedConnection);
        if (PermanentWrapper(w) == this)
            SetPermanentWrapper(w, nullptr);
        if (m_private->client && MessageTarget(m_private->client) == this)
            SetMessageTarget(m_private->client, nullptr);
        if (MessageTarget(w) == this)
            SetMessageTarget(w, nullptr);
        m_hWnd = nullptr;
        if (m_private->ownsWidget)
            delete w;
    }
}

CWndPrivate& CWnd::Private() const {
    return *m_private;
}

const AFX_MSGMAP* CWnd::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, AfxHandler()}};
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CWnd::GetMessageMap() const {
    return GetThisMessageMap();
}

CWnd* CWnd::FromHandle(HWND hWnd) {
    if (!hWnd)
        return nullptr;
    QWidget* w = WidgetOf(hWnd);
    if (CWnd* permanent = PermanentWrapper(w))
        return permanent;
    auto& temps = Temporaries();
    auto it = temps.find(w);
    if (it != temps.end())
        return it->second.get();
    auto temp = std::make_unique<CWnd>();
    temp->m_private->temporary = true;
    temp->m_hWnd = hWnd;
    CWnd* raw = temp.get();
    raw->m_private->destroyedConnection = QObject::connect(w, &QObject::destroyed, [w]() {
        auto& map = Temporaries();
        auto found = map.find(w);
        if (found == map.end())
            return;
        std::unique_ptr<CWnd> dead = std::move(found->second);
        map.erase(found);
        dead->m_hWnd = nullptr;  // the widget is going: the wrapper must not touch it
    });
    temps.emplace(w, std::move(temp));
    return raw;
}

BOOL CWnd::Attach(HWND hWnd) {
    if (m_hWnd || !hWnd)
        return FALSE;
    QWidget* w = WidgetOf(hWnd);
    m_hWnd = hWnd;
    SetPermanentWrapper(w, this);
    m_private->destroyedConnection = QObject::connect(w, &QObject::destroyed, [this]() {
        m_hWnd = nullptr;
        m_private->timers.clear();
        m_private->menu.reset();
        m_private->systemMenu.reset();
        OnWindowDestroyed();
    });
    return TRUE;
}

HWND CWnd::Detach() {
    HWND old = m_hWnd;
    for (auto& timer : m_private->timers)
        delete timer.second.data();
    m_private->timers.clear();
    if (old) {
        QObject::disconnect(m_private->destroyedConnection);
        QWidget* w = WidgetOf(old);
        if (PermanentWrapper(w) == this)
            SetPermanentWrapper(w, nullptr);
        m_hWnd = nullptr;
        m_private->ownsWidget = false;
    }
    return old;
}

void CWnd::OnWindowDestroyed() {}

BOOL CWnd::DestroyWindow() {
    if (!m_hWnd)
        return FALSE;
    delete WidgetOf(m_hWnd);  // the destroyed signal clears m_hWnd
    return TRUE;
}

CWnd* CWnd::GetDlgItem(int nID) const {
    QWidget* client = ClientOf(*this);
    if (!client)
        return nullptr;
    for (QObject* child : client->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (w && ControlId(w) == static_cast<UINT>(nID))
            return FromHandle(HandleOf(w));
    }
    return nullptr;
}

int CWnd::GetDlgCtrlID() const {
    return m_hWnd ? static_cast<int>(ControlId(WidgetOf(m_hWnd))) : 0;
}

CWnd* CWnd::GetParent() const {
    if (!m_hWnd)
        return nullptr;
    QWidget* w = WidgetOf(m_hWnd);
    for (QWidget* p = w->parentWidget(); p; p = p->parentWidget()) {
        if (CWnd* target = MessageTarget(p)) {
            if (target != this)
                return target;
            continue;
        }
        return FromHandle(HandleOf(p));
    }
    return nullptr;
}

void CWnd::SetDlgItemText(int nID, const char* text) {
    if (CWnd* item = GetDlgItem(nID))
        item->SetWindowText(text);
}

int CWnd::GetDlgItemText(int nID, CString& text) const {
    CWnd* item = GetDlgItem(nID);
    if (!item) {
        text.Empty();
        return 0;
    }
    return item->GetWindowText(text);
}

BOOL CWnd::EnableWindow(BOOL bEnable) {
    if (!m_hWnd)
        return FALSE;
    QWidget* w = WidgetOf(m_hWnd);
    const BOOL wasDisabled = w->testAttribute(Qt::WA_Disabled) ? TRUE : FALSE;
    w->setEnabled(bEnable != FALSE);
    return wasDisabled;
}

BOOL CWnd::IsWindowEnabled() const {
    return m_hWnd && !WidgetOf(m_hWnd)->testAttribute(Qt::WA_Disabled) ? TRUE : FALSE;
}

BOOL CWnd::ShowWindow(int nCmdShow) {
    if (!m_hWnd)
        return FALSE;
    QWidget* w = WidgetOf(m_hWnd);
    const BOOL wasVisible = w->isHidden() ? FALSE : TRUE;
    w->setVisible(nCmdShow != SW_HIDE);
    return wasVisible;
}

BOOL CWnd::IsWindowVisible() const {
    return m_hWnd && WidgetOf(m_hWnd)->isVisible() ? TRUE : FALSE;
}

void CWnd::SetWindowText(const char* text) {
    if (!m_hWnd)
        return;
    QWidget* w = WidgetOf(m_hWnd);
    // What a field holds is data; every other text is shown in the user's language.
    const bool data = qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w);
    const QString q = data ? ToQString(text) : ShownQString(text);
    if (TextOf(w) != q)
        SetTextOf(w, q);
}

int CWnd::GetWindowText(CString& text) const {
    text = m_hWnd ? FromQString(TextOf(WidgetOf(m_hWnd))) : CString();
    return text.GetLength();
}

int CWnd::GetWindowTextLength() const {
    CString text;
    return GetWindowText(text);
}

BOOL CWnd::SetWindowPos(const CWnd*, int x, int y, int cx, int cy, UINT nFlags) {
    if (!m_hWnd)
        return FALSE;
    QWidget* w = WidgetOf(m_hWnd);
    if (!(nFlags & SWP_NOMOVE))
        w->move(x, y);
    if (!(nFlags & SWP_NOSIZE)) {
        QWidget* client = m_private->client.data();
        if (w->isWindow() && client && client != w) {
            // The template fixes the client size; keep the frame's extra around it.
            const QSize extra = w->size() - client->size();
            client->setFixedSize(std::max(0, cx - extra.width()), std::max(0, cy - extra.height()));
        } else {
            w->resize(cx, cy);
        }
    }
    if (nFlags & SWP_SHOWWINDOW)
        w->show();
    if (nFlags & SWP_HIDEWINDOW)
        w->hide();
    return TRUE;
}

void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, BOOL) {
    SetWindowPos(nullptr, x, y, nWidth, nHeight, SWP_NOZORDER);
}

void CWnd::MoveWindow(LPCRECT rect, BOOL bRepaint) {
    MoveWindow(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, bRepaint);
}

void CWnd::GetClientRect(LPRECT rect) const {
    QWidget* client = ClientOf(*this);
    *rect = RECT{0, 0, client ? client->width() : 0, client ? client->height() : 0};
}

void CWnd::GetWindowRect(LPRECT rect) const {
    if (!m_hWnd) {
        *rect = RECT{0, 0, 0, 0};
        return;
    }
    QWidget* w = WidgetOf(m_hWnd);
    if (w->isWindow()) {
        const QRect g = w->frameGeometry();
        *rect = RECT{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
    } else {
        const QPoint p = w->mapToGlobal(QPoint(0, 0));
        *rect = RECT{p.x(), p.y(), p.x() + w->width(), p.y() + w->height()};
    }
}

void CWnd::ScreenToClient(LPPOINT point) const {
    QWidget* client = ClientOf(*this);
    if (!client)
        return;
    const QPoint p = client->mapFromGlobal(QPoint(point->x, point->y));
    point->x = p.x();
    point->y = p.y();
}

void CWnd::ScreenToClient(LPRECT rect) const {
    POINT a{rect->left, rect->top};
    POINT b{rect->right, rect->bottom};
    ScreenToClient(&a);
    ScreenToClient(&b);
    *rect = RECT{a.x, a.y, b.x, b.y};
}

void CWnd::ClientToScreen(LPPOINT point) const {
    QWidget* client = ClientOf(*this);
    if (!client)
        return;
    const QPoint p = client->mapToGlobal(QPoint(point->x, point->y));
    point->x = p.x();
    point->y = p.y();
}

void CWnd::ClientToScreen(LPRECT rect) const {
    POINT a{rect->left, rect->top};
    POINT b{rect->right, rect->bottom};
    ClientToScreen(&a);
    ClientToScreen(&b);
    *rect = RECT{a.x, a.y, b.x, b.y};
}

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse, void* lpfnTimer) {
    if (!m_hWnd || lpfnTimer)
        return 0;
    QPointer<QTimer>& timer = m_private->timers[nIDEvent];
    if (!timer) {
        timer = new QTimer(WidgetOf(m_hWnd));
        timer->setTimerType(Qt::PreciseTimer);
        QObject::connect(timer, &QTimer::timeout, [this, nIDEvent]() {
            if (CBusyScope::IsActive()) {
                return;  // a tick during a long device operation is dropped
            }
            LRESULT result = 0;
            OnWndMsg(WM_TIMER, nIDEvent, 0, &result);
        });
    }
    timer->start(static_cast<int>(std::max<UINT>(nElapse, 1)));
    return nIDEvent == 0 ? 1 : nIDEvent;
}

BOOL CWnd::KillTimer(UINT_PTR nIDEvent) {
    auto it = m_private->timers.find(nIDEvent);
    if (it == m_private->timers.end())
        return FALSE;
    delete it->second.data();
    m_private->timers.erase(it);
    return TRUE;
}

CMenu* CWnd::GetMenu() const {
    return m_hWnd ? m_private->menu.get() : nullptr;
}

CMenu* CWnd::GetSystemMenu(BOOL) {
    return m_hWnd ? m_private->systemMenu.get() : nullptr;
}

HICON CWnd::SetIcon(HICON hIcon, BOOL bBigIcon) {
    HICON& slot = bBigIcon ? m_private->bigIcon : m_private->smallIcon;
    HICON old = slot;
    slot = hIcon;
    if (m_hWnd && hIcon && IconOf(hIcon))
        WidgetOf(m_hWnd)->window()->setWindowIcon(IconOf(hIcon)->icon);
    return old;
}

HICON CWnd::GetIcon(BOOL bBigIcon) const {
    return bBigIcon ? m_private->bigIcon : m_private->smallIcon;
}

BOOL CWnd::IsIconic() const {
    return m_hWnd && WidgetOf(m_hWnd)->window()->isMinimized() ? TRUE : FALSE;
}

void CWnd::Invalidate(BOOL) {
    if (m_hWnd)
        WidgetOf(m_hWnd)->update();
    if (m_private->client)
        m_private->client->update();
}

void CWnd::UpdateWindow() {
    QWidget* client = ClientOf(*this);
    if (client && client->isVisible())
        client->repaint();
}

CWnd* CWnd::SetFocus() {
    CWnd* previous = GetFocus();
    if (m_hWnd)
        WidgetOf(m_hWnd)->setFocus(Qt::OtherFocusReason);
    return previous;
}

CWnd* CWnd::GetFocus() {
    QWidget* w = QApplication::focusWidget();
    return w ? FromHandle(HandleOf(w)) : nullptr;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case STM_SETIMAGE: {
            // Any wrapper of a picture control may be sent this (a temporary one is a plain CWnd).
            auto* picture = WidgetAs<PictureLabel>(*this);
            if (!picture || wParam != IMAGE_BITMAP)
                return 0;
            return reinterpret_cast<LRESULT>(picture->SetBitmap(reinterpret_cast<HBITMAP>(lParam)));
        }
        case STM_GETIMAGE: {
            auto* picture = WidgetAs<PictureLabel>(*this);
            return picture ? reinterpret_cast<LRESULT>(picture->Bitmap()) : 0;
        }
        case WM_ICONERASEBKGND:
            return 0;
        default: {
            LRESULT result = 0;
            OnWndMsg(message, wParam, lParam, &result);
            return result;
        }
    }
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return FALSE;
    // Queued on the application object, which lives on the user-interface thread: the target
    // is looked up there, when the message is taken, and only the wrapper's own thread changes it.
    std::shared_ptr<CWnd*> target = m_private->postTarget;
    QMetaObject::invokeMethod(
        app,
        [target, message, wParam, lParam]() {
            CWnd* wnd = *target;
            if (!wnd || !wnd->m_hWnd)
                return;
            LRESULT result = 0;
            wnd->OnWndMsg(message, wParam, lParam, &result);
        },
        Qt::QueuedConnection);
    return TRUE;
}

int CWnd::MessageBox(const char* text, const char* caption, UINT nType) {
    CString title =
        caption ? CString(caption) : (AfxGetApp() ? AfxGetApp()->m_strAppName : CString());
    ModalScope modal;
    return CurrentUiSeam().MessageBox(this, ShownText(text), ShownText(title.str()), nType);
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (const DataExchangeFailure&) {
        return FALSE;
    }
    return TRUE;
}

void CWnd::DoDataExchange(CDataExchange*) {}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    LRESULT ignored = 0;
    if (!pResult)
        pResult = &ignored;
    UINT code = 0;
    UINT id = 0;
    if (message == WM_COMMAND) {
        id = LOWORD(wParam);
        code = HIWORD(wParam);
    } else if (message == WM_NOTIFY) {
        const NMHDR* h = reinterpret_cast<const NMHDR*>(lParam);
        if (!h)
            return FALSE;
        id = static_cast<UINT>(h->idFrom);
        code = h->code;
    }
    const AFX_MSGMAP_ENTRY* e = FindEntry(GetMessageMap(), message, code, id);
    if (!e) {
        switch (message) {
            case WM_COMMAND:
                return OnCommand(wParam, lParam);
            case WM_SYSCOMMAND:
                OnSysCommand(static_cast<UINT>(wParam), lParam);
                return TRUE;
            default:
                return FALSE;
        }
    }
    switch (message) {
        case WM_COMMAND:
        case WM_PAINT:
            e->pfn.cmd(this);
            break;
        case WM_NOTIFY:
            e->pfn.notify(this, reinterpret_cast<NMHDR*>(lParam), pResult);
            break;
        case WM_TIMER:
            e->pfn.timer(this, wParam);
            break;
        case WM_VSCROLL:
            e->pfn.scroll(this, LOWORD(wParam), static_cast<UINT>(wParam >> 16),
                          static_cast<CScrollBar*>(FromHandle(reinterpret_cast<HWND>(lParam))));
            break;
        case WM_SYSCOMMAND:
            e->pfn.syscmd(this, static_cast<UINT>(wParam), lParam);
            break;
        case WM_QUERYDRAGICON:
            *pResult = reinterpret_cast<LRESULT>(e->pfn.icon(this));
            break;
        default:
            *pResult = e->pfn.message(this, wParam, lParam);  // an ON_MESSAGE entry
            break;
    }
    return TRUE;
}

BOOL CWnd::OnCommand(WPARAM, LPARAM) {
    return FALSE;
}

void CWnd::OnTimer(UINT_PTR) {}
void CWnd::OnPaint() {}
void CWnd::OnVScroll(UINT, UINT, CScrollBar*) {}

void CWnd::OnSysCommand(UINT nID, LPARAM) {
    if ((nID & 0xFFF0) == SC_CLOSE)
        SendMessage(WM_COMMAND, IDCANCEL, 0);
}

HCURSOR CWnd::OnQueryDragIcon() {
    return GetIcon(TRUE);
}
