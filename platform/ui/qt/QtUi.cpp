#include "platform/ui/qt/QtUi.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>

#include "platform/os/TimeService.h"
#include "platform/ui/CDialog.h"
#include "platform/ui/FileDialogRules.h"
#include "platform/ui/qt/Handles.h"
#include "platform/ui/qt/QtText.h"
#include "platform/ui/qt/WindowLink.h"

namespace {
QWidget* WindowOf(CWnd* wnd) {
    if (wnd && wnd->m_hWnd)
        return WidgetOf(wnd->m_hWnd)->window();
    return QApplication::activeWindow();
}
}  // namespace

void QtUi::RunModal(CDialog& dialog) {
    auto* window = dialog.m_hWnd ? dynamic_cast<QDialog*>(WidgetOf(dialog.m_hWnd)) : nullptr;
    if (!window)
        return;
    window->exec();
}

int QtUi::MessageBox(CWnd* parent, const CString& text, const CString& caption, UINT nType) {
    QMessageBox box(WindowOf(parent));
    box.setWindowTitle(ToQString(caption));
    box.setText(ToQString(text));
    switch (nType & MB_ICONMASK) {
        case MB_ICONERROR:
            box.setIcon(QMessageBox::Critical);
            break;
        case MB_ICONQUESTION:
            box.setIcon(QMessageBox::Question);
            break;
        case MB_ICONWARNING:
            box.setIcon(QMessageBox::Warning);
            break;
        case MB_ICONINFORMATION:
            box.setIcon(QMessageBox::Information);
            break;
        default:
            break;
    }
    struct Choice {
        QMessageBox::StandardButton button;
        int result;
    };
    static const Choice kOk[] = {{QMessageBox::Ok, IDOK}};
    static const Choice kOkCancel[] = {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}};
    static const Choice kAbortRetryIgnore[] = {{QMessageBox::Abort, IDABORT},
                                               {QMessageBox::Retry, IDRETRY},
                                               {QMessageBox::Ignore, IDIGNORE}};
    static const Choice kYesNoCancel[] = {
        {QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}};
    static const Choice kYesNo[] = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}};
    static const Choice kRetryCancel[] = {{QMessageBox::Retry, IDRETRY},
                                          {QMessageBox::Cancel, IDCANCEL}};
    const Choice* choices = kOk;
    int count = 1;
    switch (nType & MB_TYPEMASK) {
        case MB_OKCANCEL:
            choices = kOkCancel;
            count = 2;
            break;
        case MB_ABORTRETRYIGNORE:
            choices = kAbortRetryIgnore;
            count = 3;
            break;
        case MB_YESNOCANCEL:
            choices = kYesNoCancel;
            count = 3;
            break;
        case MB_YESNO:
            choices = kYesNo;
            count = 2;
            break;
        case MB_RETRYCANCEL:
            choices = kRetryCancel;
            count = 2;
            break;
        default:
            break;
    }
    QMessageBox::StandardButtons buttons;
    for (int i = 0; i < count; ++i)
        buttons |= choices[i].button;
    box.setStandardButtons(buttons);
    box.setDefaultButton(choices[(nType & MB_DEFBUTTON2) && count > 1 ? 1 : 0].button);
    const int pressed = box.exec();
    for (int i = 0; i < count; ++i) {
        if (pressed == choices[i].button)
            return choices[i].result;
    }
    // Closed without a button: Cancel where there is one, else the only answer.
    for (int i = 0; i < count; ++i) {
        if (choices[i].result == IDCANCEL)
            return IDCANCEL;
    }
    return count == 1 ? choices[0].result : IDNO;
}

BOOL QtUi::ChooseFile(const FileDialogRequest& request, CString& path) {
    QFileDialog dialog(WindowOf(request.parent));
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setOption(QFileDialog::DontConfirmOverwrite,
                     true);  // the framework asks, after the extension
    dialog.setAcceptMode(request.bOpen ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(request.bOpen && (request.flags & OFN_FILEMUSTEXIST)
                           ? QFileDialog::ExistingFile
                           : QFileDialog::AnyFile);
    const QString filters = ToQString(ConvertFileFilter(request.filter.GetString()));
    if (!filters.isEmpty())
        dialog.setNameFilters(filters.split(QStringLiteral(";;")));
    if (!request.fileName.IsEmpty())
        dialog.selectFile(PathToQString(request.fileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return FALSE;
    path = PathFromQString(dialog.selectedFiles().first());
    return TRUE;
}

void QtUi::SetCursor(HCURSOR cursor) {
    IconData* data = IconOf(cursor);
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    if (data && data->isCursor && data->cursor != Qt::ArrowCursor) {
        QApplication::setOverrideCursor(QCursor(data->cursor));
    }
}
