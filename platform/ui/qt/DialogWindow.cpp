#include "platform/ui/qt/DialogWindow.h"

#include <QCloseEvent>
#include <QKeyEvent>

#include "platform/ui/CDialog.h"
#include "platform/ui/qt/DialogKeys.h"
#include "platform/ui/qt/WindowLink.h"

DialogWindow::DialogWindow(QWidget* parent, QWidget* client) : QDialog(parent), m_client(client) {}

CWnd* DialogWindow::Target() const {
    return MessageTarget(this);
}

void DialogWindow::accept() {
    if (CWnd* t = Target()) {
        LRESULT r = 0;
        t->OnWndMsg(WM_COMMAND, IDOK, 0, &r);
    }
}

void DialogWindow::reject() {
    SendCancel(Target());
}

void DialogWindow::keyPressEvent(QKeyEvent* event) {
    if (RouteDialogKey(event, Target(), m_client)) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void DialogWindow::closeEvent(QCloseEvent* event) {
    auto* dialog = dynamic_cast<CDialog*>(Target());
    if (!dialog || dialog->IsEnded()) {
        event->accept();
        return;
    }
    // The close box is the system command SC_CLOSE; by default it ends the dialog like Cancel.
    LRESULT r = 0;
    dialog->OnWndMsg(WM_SYSCOMMAND, SC_CLOSE, 0, &r);
    if (dialog->IsEnded()) {
        event->accept();
    } else {
        event->ignore();
    }
}
