// DialogWindow: the top-level window of a modal dialog. Enter, Esc and the close box go to the
// dialog's own handling instead of the toolkit's accept/reject.
#pragma once

#include <QDialog>
#include <QPointer>

class CWnd;

class DialogWindow : public QDialog {
public:
    DialogWindow(QWidget* parent, QWidget* client);
    void SetClient(QWidget* client) { m_client = client; }

    void accept() override;
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    CWnd* Target() const;
    QPointer<QWidget> m_client;
};
