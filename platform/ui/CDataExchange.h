// Dialog data exchange: moves values between a window's fields and its controls in both directions.
// A value that cannot be taken over shows the standard prompt, keeps the field's previous value and
// ends the exchange (UpdateData returns FALSE).
#pragma once

#include "platform/os/CString.h"
#include "platform/os/TextMark.h"
#include "platform/ui/UiTypes.h"

class CWnd;

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

    // The control with that id in the window (null when there is none), remembered for Fail().
    HWND PrepareCtrl(int nIDC);
    HWND PrepareEditCtrl(int nIDC);
    // Gives the focus back to the last prepared control and abandons the exchange.
    [[noreturn]] void Fail();

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    HWND m_hWndLastControl = nullptr;
    BOOL m_bEditLastControl = FALSE;
};

// Binds the wrapper to the control with that id (once; later calls keep the binding).
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);
void DDX_Text(CDataExchange* pDX, int nIDC, double& value);
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);

// The standard prompts of refused values.
constexpr const char* AFX_PROMPT_PARSE_INT = N_("Please enter an integer.");
constexpr const char* AFX_PROMPT_PARSE_UINT = N_("Please enter a positive integer.");
constexpr const char* AFX_PROMPT_PARSE_REAL = N_("Please enter a number.");
