// CFileDialog: the file-open and file-save dialogs. The filter is given in the Windows form
// "Text (*.txt)|*.txt|All Files (*.*)|*.*||". A save dialog appends the default extension to a name
// typed without one, and with OFN_OVERWRITEPROMPT asks before an existing file is chosen.
#pragma once

#include "platform/os/CString.h"
#include "platform/ui/UiTypes.h"

class CWnd;

class CFileDialog {
public:
    explicit CFileDialog(BOOL bOpenFileDialog, const char* lpszDefExt = nullptr,
                         const char* lpszFileName = nullptr,
                         DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                         const char* lpszFilter = nullptr, CWnd* pParentWnd = nullptr);
    virtual ~CFileDialog() = default;

    // IDOK with a chosen path, IDCANCEL otherwise.
    virtual INT_PTR DoModal();
    CString GetPathName() const { return m_strPathName; }
    CString GetFileName() const;
    CString GetFileExt() const;
    CString GetFileTitle() const;

private:
    BOOL m_bOpenFileDialog;
    CString m_strDefExt;
    CString m_strFileName;
    DWORD m_dwFlags;
    CString m_strFilter;
    CWnd* m_pParentWnd;
    CString m_strPathName;
};
