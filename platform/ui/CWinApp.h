// CWinApp: the application object. Its one global instance registers itself; AfxWinMain starts the
// toolkit and calls InitInstance, which normally runs the main dialog modally and returns FALSE.
#pragma once

#include "platform/os/CString.h"
#include "platform/ui/UiTypes.h"

class CWnd;

class CWinApp {
public:
    explicit CWinApp(const char* lpszAppName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // FALSE ends the program without an event loop of the framework's own.
    virtual BOOL InitInstance();
    // The event loop, entered only when InitInstance returned TRUE; returns the exit code.
    virtual int Run();

    // The icon resource with that id (null when there is none); the handle lives until exit.
    HICON LoadIcon(UINT nIDResource) const;
    // IDC_ARROW or IDC_WAIT.
    HCURSOR LoadStandardCursor(UINT nIDCursor) const;

    CWnd* m_pMainWnd = nullptr;
    CString m_strAppName;
};

CWinApp* AfxGetApp();
// Creates the application's toolkit object (Fusion style, the application icon when the resources
// have one, the user's language for the texts when the resources name their catalogue), calls
// InitInstance and, when it returns TRUE, Run. Returns the exit code.
int AfxWinMain(int argc, char** argv);
// Numbers are written and read with a decimal point whatever the user's locale: the toolkit takes
// the user's whole locale at its start, and a German one would make printf and strtod use a comma
// in gamma values, formulas, table files and configuration files.
void AfxUseCNumbers();
