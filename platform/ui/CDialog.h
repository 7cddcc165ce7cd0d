// CDialog: a window built from a dialog template, run modally (DoModal) or created as a modeless
// child (Create). Enter sends IDOK and Esc or the close box IDCANCEL to the dialog's own handling,
// which ends a modal run through OnOK / OnCancel.
#pragma once

#include "platform/ui/CWnd.h"

class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // Creates the window, runs OnInitDialog and then the modal run through the user-interface seam;
    // destroys the window and returns the value given to EndDialog (-1 when the template is
    // missing).
    virtual INT_PTR DoModal();
    // Creates a modeless child window (a plain child widget, shown only with WS_VISIBLE) inside
    // pParentWnd and runs OnInitDialog. FALSE when the template or the parent is missing.
    virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    // Base: writes the fields to the controls (UpdateData(FALSE)); TRUE lets the framework set
    // focus.
    virtual BOOL OnInitDialog();
    // Base: takes the controls over into the fields and ends the dialog with IDOK when that
    // succeeds.
    virtual void OnOK();
    // Base: ends the dialog with IDCANCEL.
    virtual void OnCancel();
    void EndDialog(int nResult);

    UINT GetTemplateId() const { return m_nIDTemplate; }
    // TRUE once EndDialog was called during the current modal run.
    BOOL IsEnded() const { return m_bEnded; }
    int GetModalResult() const { return m_nModalResult; }
    BOOL IsModal() const { return m_bModal; }

protected:
    DECLARE_MESSAGE_MAP()

protected:
    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

private:
    BOOL CreateFromTemplate(BOOL bModal, CWnd* pParentWnd);
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    BOOL m_bModal = FALSE;
    BOOL m_bEnded = FALSE;
    int m_nModalResult = -1;
};
