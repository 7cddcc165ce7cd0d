#include "platform/ui/testing/ScriptedUi.h"

#include <gtest/gtest.h>
#include <QWidget>

#include "platform/ui/CDialog.h"

namespace {
const char* KindName(ScriptedUi::Kind kind) {
    switch (kind) {
        case ScriptedUi::Kind::Modal:
            return "a modal dialog";
        case ScriptedUi::Kind::MessageBox:
            return "a message box";
        case ScriptedUi::Kind::FileDialog:
            return "a file dialog";
        default:
            return "a call";
    }
}
}  // namespace

ScriptedUi::ScriptedUi() {
    SetUiSeam(this);
}

ScriptedUi::~ScriptedUi() {
    SetUiSeam(nullptr);
    if (!m_queue.empty()) {
        ADD_FAILURE() << "ScriptedUi: " << m_queue.size()
                      << " expected call(s) never came; the next was "
                      << KindName(m_queue.front().kind);
    }
}

void ScriptedUi::ExpectModal(std::function<void(CDialog&)> script, UINT templateId) {
    Expectation e;
    e.kind = Kind::Modal;
    e.script = std::move(script);
    e.templateId = templateId;
    m_queue.push_back(std::move(e));
}

void ScriptedUi::ExpectMessageBox(int answer, std::function<void()> whileOpen) {
    Expectation e;
    e.kind = Kind::MessageBox;
    e.answer = answer;
    e.whileOpen = std::move(whileOpen);
    m_queue.push_back(std::move(e));
}

void ScriptedUi::ExpectFileDialog(const CString& path, std::function<void()> whileOpen) {
    Expectation e;
    e.kind = Kind::FileDialog;
    e.chosen = TRUE;
    e.path = path;
    e.whileOpen = std::move(whileOpen);
    m_queue.push_back(std::move(e));
}

void ScriptedUi::ExpectFileDialogCancel() {
    Expectation e;
    e.kind = Kind::FileDialog;
    m_queue.push_back(std::move(e));
}

std::vector<ScriptedUi::Call> ScriptedUi::CallsOf(Kind kind) const {
    std::vector<Call> out;
    for (const Call& c : m_calls) {
        if (c.kind == kind)
            out.push_back(c);
    }
    return out;
}

bool ScriptedUi::Take(Kind kind, const char* what, Expectation& out) {
    if (m_queue.empty()) {
        ADD_FAILURE() << "ScriptedUi: unexpected " << KindName(kind) << " (" << what
                      << ") with nothing left in the script; answered with Cancel";
        return false;
    }
    if (m_queue.front().kind != kind) {
        ADD_FAILURE() << "ScriptedUi: the script expected " << KindName(m_queue.front().kind)
                      << " but got " << KindName(kind) << " (" << what << "); answered with Cancel";
        return false;
    }
    out = std::move(m_queue.front());
    m_queue.pop_front();
    return true;
}

void ScriptedUi::RunModal(CDialog& dialog) {
    Call call;
    call.kind = Kind::Modal;
    call.templateId = dialog.GetTemplateId();
    m_calls.push_back(call);
    Expectation e;
    const std::string what = "template " + std::to_string(dialog.GetTemplateId());
    if (Take(Kind::Modal, what.c_str(), e)) {
        if (e.templateId != 0 && e.templateId != dialog.GetTemplateId()) {
            ADD_FAILURE() << "ScriptedUi: expected the dialog of template " << e.templateId
                          << " but got " << dialog.GetTemplateId();
        } else {
            if (dialog.m_hWnd)
                reinterpret_cast<QWidget*>(dialog.m_hWnd)->show();
            if (e.script)
                e.script(dialog);
        }
    }
    if (!dialog.IsEnded()) {
        if (dialog.m_hWnd)
            ADD_FAILURE() << "ScriptedUi: the script left " << what
                          << " running; ended with Cancel";
        dialog.EndDialog(IDCANCEL);
    }
}

int ScriptedUi::MessageBox(CWnd*, const CString& text, const CString& caption, UINT nType) {
    Call call;
    call.kind = Kind::MessageBox;
    call.text = text;
    call.caption = caption;
    call.type = nType;
    m_calls.push_back(call);
    Expectation e;
    if (!Take(Kind::MessageBox, text.GetString(), e)) {
        const UINT buttons = nType & MB_TYPEMASK;
        if (buttons == MB_OK)
            return IDOK;
        return buttons == MB_YESNO ? IDNO : IDCANCEL;
    }
    if (e.whileOpen)
        e.whileOpen();
    return e.answer;
}

BOOL ScriptedUi::ChooseFile(const FileDialogRequest& request, CString& path) {
    Call call;
    call.kind = Kind::FileDialog;
    call.text = request.fileName;
    call.caption = request.filter;
    call.type = request.flags;
    call.open = request.bOpen;
    call.defExt = request.defExt;
    m_calls.push_back(call);
    Expectation e;
    if (!Take(Kind::FileDialog, request.fileName.GetString(), e))
        return FALSE;
    if (e.whileOpen)
        e.whileOpen();
    if (!e.chosen)
        return FALSE;
    path = e.path;
    return TRUE;
}

void ScriptedUi::SetCursor(HCURSOR cursor) {
    Call call;
    call.kind = Kind::Cursor;
    call.cursor = cursor;
    m_calls.push_back(call);
}
