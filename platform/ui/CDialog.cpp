#include "platform/ui/CDialog.h"

#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QToolButton>
#include <QVBoxLayout>
#include "platform/os/TextMark.h"

#include "platform/ui/CMenu.h"
#include "platform/ui/CWinApp.h"
#include "platform/ui/Resource.h"
#include "platform/ui/UiSeam.h"
#include "platform/ui/qt/CMenuPrivate.h"
#include "platform/ui/qt/CWndPrivate.h"
#include "platform/ui/qt/ClientWidget.h"
#include "platform/ui/qt/DialogBuilder.h"
#include "platform/ui/qt/DialogUnits.h"
#include "platform/ui/qt/DialogWindow.h"
#include "platform/ui/qt/MenuActions.h"
#include "platform/ui/qt/Mnemonics.h"
#include "platform/ui/qt/QtText.h"
#include "platform/ui/qt/TabOrder.h"
#include "platform/ui/qt/WindowLink.h"

BEGIN_MESSAGE_MAP(CDialog, CWnd)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

CDialog::~CDialog() = default;

BOOL CDialog::CreateFromTemplate(BOOL bModal, CWnd* pParentWnd) {
    if (m_hWnd)
        return FALSE;
    const DialogTemplate* tmpl = AfxFindDialogTemplate(m_nIDTemplate);
    if (!tmpl)
        return FALSE;
    const QRect size = MapDialogRect(0, 0, tmpl->cx, tmpl->cy);
    QWidget* frame = nullptr;
    ClientWidget* client = nullptr;
    DialogWindow* window = nullptr;
    if (bModal) {
        QWidget* owner = nullptr;
        CWnd* ownerWnd =
            pParentWnd ? pParentWnd : (AfxGetApp() ? AfxGetApp()->m_pMainWnd : nullptr);
        if (ownerWnd && ownerWnd->m_hWnd)
            owner = WidgetOf(ownerWnd->m_hWnd)->window();
        window = new DialogWindow(owner, nullptr);
        client = new ClientWidget(window, false);
        window->SetClient(client);
        auto* layout = new QVBoxLayout(window);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        layout->setSizeConstraint(QLayout::SetFixedSize);
        layout->addWidget(client);
        client->setFixedSize(size.size());
        window->setWindowTitle(ShownQString(tmpl->caption));
        if (!(tmpl->style & WS_SYSMENU)) {
            // Without a window menu Windows shows no close box either.
            window->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
        }
        window->setFont(DialogFont());
        frame = window;
    } else {
        QWidget* parent = pParentWnd ? ClientOf(*pParentWnd) : nullptr;
        if (!parent)
            return FALSE;
        client = new ClientWidget(parent, true);
        client->resize(size.size());
        client->hide();
        frame = client;
    }
    SetMessageTarget(frame, this);
    SetMessageTarget(client, this);
    Attach(HandleOf(frame));
    Private().client = client;
    Private().ownsWidget = true;
    BuildControls(client, *tmpl);

    if (bModal && tmpl->menuId) {
        if (const MenuTemplate* menuTmpl = AfxFindMenuTemplate(tmpl->menuId)) {
            auto* bar = new QMenuBar(window);
            bar->setNativeMenuBar(false);  // the menu stays in the window, as on Windows
            BuildMenuBar(bar, *menuTmpl);
            static_cast<QVBoxLayout*>(window->layout())->setMenuBar(bar);
            Private().menu = std::make_unique<CMenu>();
            AttachMenu(*Private().menu, bar);
        }
    }
    if (bModal && (tmpl->style & WS_SYSMENU)) {
        // The window menu: the "?" menu at the right of the menu bar, and the context menu of the
        // window's background (the title-bar menu belongs to the window manager here).
        auto* sys = new QMenu(window);
        MarkSystemMenu(sys);
        sys->addAction(NewMenuCommand(sys, SC_CLOSE, ShownQString(N_("&Close"))));
        Private().systemMenu = std::make_unique<CMenu>();
        AttachMenu(*Private().systemMenu, sys);
        if (auto* bar = qobject_cast<QMenuBar*>(window->layout()->menuBar())) {
            auto* button = new QToolButton(bar);
            button->setText(QStringLiteral("?"));
            button->setAutoRaise(true);
            button->setPopupMode(QToolButton::InstantPopup);
            button->setFocusPolicy(Qt::NoFocus);  // Alt+Space opens the menu from the keyboard
            button->setMenu(sys);
            bar->setCornerWidget(button, Qt::TopRightCorner);
        }
        client->setContextMenuPolicy(Qt::CustomContextMenu);
        QObject::connect(
            client, &QWidget::customContextMenuRequested, sys,
            [sys, client](const QPoint& pos) { sys->popup(client->mapToGlobal(pos)); });
        // Alt+Space opens it from the keyboard, as the window menu opens on Windows.
        auto* key = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Space), window);
        QObject::connect(key, &QShortcut::activated, sys,
                         [sys, client]() { sys->popup(client->mapToGlobal(QPoint(0, 0))); });
    }
    AssignMnemonics(client, !bModal);

    m_bModal = bModal;
    m_bEnded = FALSE;
    m_nModalResult = -1;
    if (!bModal && (tmpl->style & WS_VISIBLE))
        client->show();
    // TRUE from OnInitDialog: the first control in the tab order takes the focus, as the Windows
    // dialog manager gives it (so that typing goes to the gamma field, not to a button).
    if (OnInitDialog() && bModal)
        FocusFirstControl(client);
    return TRUE;
}

INT_PTR CDialog::DoModal() {
    if (!CreateFromTemplate(TRUE, m_pParentWnd))
        return -1;
    if (!m_bEnded && m_hWnd) {
        ModalScope modal;
        CurrentUiSeam().RunModal(*this);
    }
    const int result = m_bEnded ? m_nModalResult : IDCANCEL;
    DestroyWindow();
    m_bModal = FALSE;
    return result;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) {
    m_nIDTemplate = nIDTemplate;
    if (pParentWnd)
        m_pParentWnd = pParentWnd;
    return CreateFromTemplate(FALSE, m_pParentWnd);
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::EndDialog(int nResult) {
    m_nModalResult = nResult;
    m_bEnded = TRUE;
    if (!m_hWnd)
        return;
    if (auto* window = dynamic_cast<DialogWindow*>(WidgetOf(m_hWnd))) {
        window->done(nResult);
    } else {
        WidgetOf(m_hWnd)->hide();
    }
}

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM) {
    switch (LOWORD(wParam)) {
        case IDOK:
            OnOK();
            return TRUE;
        case IDCANCEL:
            OnCancel();
            return TRUE;
        default:
            return FALSE;
    }
}
