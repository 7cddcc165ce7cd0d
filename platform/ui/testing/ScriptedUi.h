// ScriptedUi: the user-interface seam for tests. It answers from a queue of expected calls and
// records every call. A call that does not match the next expectation, or comes when the queue is
// empty, fails the running test with a clear message and is answered with Cancel / No, so a test
// never blocks.
#pragma once

#include <deque>
#include <functional>
#include <vector>

#include "platform/ui/UiSeam.h"

class ScriptedUi : public UiSeam {
public:
    enum class Kind { Modal, MessageBox, FileDialog, Cursor };

    struct Call {
        Kind kind = Kind::Modal;
        UINT templateId = 0;  // Modal
        CString text;         // MessageBox text; FileDialog proposed name
        CString caption;      // MessageBox caption; FileDialog filter
        UINT type = 0;        // MessageBox type; FileDialog flags
        BOOL open = FALSE;    // FileDialog
        CString defExt;       // FileDialog
        HCURSOR cursor = nullptr;
    };

    // Installs itself as the seam; the destructor restores the toolkit's and fails the test when
    // expectations are left over.
    ScriptedUi();
    ~ScriptedUi() override;

    // The next modal run: the script receives the created, initialised and shown dialog, may act on
    // its controls, and must end it (OnOK, OnCancel, EndDialog, Esc, a button ...). When templateId
    // is not 0 the dialog must come from that template.
    void ExpectModal(std::function<void(CDialog&)> script, UINT templateId = 0);
    // The next message box, answered with the given result; `whileOpen` (optional) runs before it
    // is answered, as what happens while the person reads it.
    void ExpectMessageBox(int answer, std::function<void()> whileOpen = nullptr);
    // The next file dialog, answered with a path (the person chose it) or cancelled; `whileOpen`
    // as for a message box.
    void ExpectFileDialog(const CString& path, std::function<void()> whileOpen = nullptr);
    void ExpectFileDialogCancel();

    const std::vector<Call>& Calls() const { return m_calls; }
    std::vector<Call> CallsOf(Kind kind) const;
    size_t Pending() const { return m_queue.size(); }

    void RunModal(CDialog& dialog) override;
    int MessageBox(CWnd* parent, const CString& text, const CString& caption, UINT nType) override;
    BOOL ChooseFile(const FileDialogRequest& request, CString& path) override;
    void SetCursor(HCURSOR cursor) override;

private:
    struct Expectation {
        Kind kind = Kind::Modal;
        std::function<void(CDialog&)> script;
        std::function<void()> whileOpen;
        UINT templateId = 0;
        int answer = 0;
        BOOL chosen = FALSE;
        CString path;
    };
    bool Take(Kind kind, const char* what, Expectation& out);

    std::deque<Expectation> m_queue;
    std::vector<Call> m_calls;
};
