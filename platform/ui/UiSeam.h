// UiSeam: everything that waits for a person goes through this one interface: the modal run of a
// dialog, message boxes, file dialogs and cursors. Beeps go through the time service
// (platform/os), the one place that sounds them, so that a test recording beeps sees them all. The
// program uses the toolkit's real dialogs; tests install a scripted implementation that answers
// from a queue and records every call.
#pragma once

#include "platform/os/CString.h"
#include "platform/ui/UiTypes.h"

class CDialog;
class CWnd;

struct FileDialogRequest {
    BOOL bOpen;
    CString defExt;    // without a leading dot; may be empty
    CString fileName;  // proposed name
    DWORD flags;
    CString filter;  // Windows form "Desc|*.a|Desc2|*.b||"
    CWnd* parent;
};

class UiSeam {
public:
    virtual ~UiSeam() = default;
    // The dialog has been created and initialised (OnInitDialog has run) and is not yet ended.
    // Returns once the dialog has been ended with EndDialog.
    virtual void RunModal(CDialog& dialog) = 0;
    // Returns IDOK, IDCANCEL, IDYES, IDNO, ... as fits the type.
    virtual int MessageBox(CWnd* parent, const CString& text, const CString& caption,
                           UINT nType) = 0;
    // FALSE when the person cancelled; otherwise the chosen path (the operating system's bytes).
    virtual BOOL ChooseFile(const FileDialogRequest& request, CString& path) = 0;
    virtual void SetCursor(HCURSOR cursor) = 0;
};

// The seam in use: the toolkit's unless a test installed another.
UiSeam& CurrentUiSeam();
// Installs a seam (not owned); nullptr restores the toolkit's.
void SetUiSeam(UiSeam* seam);

// Modal runs under way (dialogs, message boxes, file dialogs), the main window's own run
// included: work that must not slip in while a person answers waits while it is above 1.
int ModalDepth();
// Counts one modal run for as long as it lives.
class ModalScope {
public:
    ModalScope();
    ~ModalScope();
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;
};
