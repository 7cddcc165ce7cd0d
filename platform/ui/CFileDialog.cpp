#include "platform/ui/CFileDialog.h"

#include <sys/stat.h>

#include "platform/os/UserLanguage.h"
#include "platform/ui/CWinApp.h"
#include "platform/ui/FileDialogRules.h"
#include "platform/ui/UiSeam.h"

namespace {
bool IsFile(const CString& path) {
    struct stat st = {};
    return ::stat(path.GetString(), &st) == 0 && !S_ISDIR(st.st_mode);
}

CString NameOf(const CString& path) {
    const int slash = path.ReverseFind('/');
    return slash < 0 ? path : path.Mid(slash + 1);
}

CString Caption() {
    return ShownText(AfxGetApp() ? AfxGetApp()->m_strAppName.str() : std::string());
}

}  // namespace

CFileDialog::CFileDialog(BOOL bOpenFileDialog, const char* lpszDefExt, const char* lpszFileName,
                         DWORD dwFlags, const char* lpszFilter, CWnd* pParentWnd)
    : m_bOpenFileDialog(bOpenFileDialog),
      m_strDefExt(NormalizeDefaultExtension(lpszDefExt)),
      m_strFileName(lpszFileName),
      m_dwFlags(dwFlags),
      m_strFilter(lpszFilter),
      m_pParentWnd(pParentWnd) {}

INT_PTR CFileDialog::DoModal() {
    FileDialogRequest request{
        m_bOpenFileDialog, m_strDefExt, m_strFileName, m_dwFlags, ShownText(m_strFilter.str()),
        m_pParentWnd};
    UiSeam& seam = CurrentUiSeam();
    ModalScope modal;
    for (;;) {
        CString path;
        if (!seam.ChooseFile(request, path) || path.IsEmpty())
            return IDCANCEL;
        if (!m_bOpenFileDialog) {
            path = AppendDefaultExtension(path, m_strDefExt);
            if ((m_dwFlags & OFN_OVERWRITEPROMPT) && IsFile(path)) {
                const CString question = ShownText(
                    (NameOf(path) + " already exists.\nDo you want to replace it?").str());
                if (seam.MessageBox(m_pParentWnd, question, Caption(),
                                    MB_YESNO | MB_ICONEXCLAMATION) != IDYES) {
                    request.fileName = path;
                    continue;
                }
            }
        } else if (!IsFile(path)) {
            // As on Windows, a name typed without its extension finds the file with the default
            // one.
            const CString withExt = AppendDefaultExtension(path, m_strDefExt);
            if (IsFile(withExt)) {
                path = withExt;
            } else if (m_dwFlags & OFN_FILEMUSTEXIST) {
                const CString message = ShownText(
                    (NameOf(path) + "\nFile not found.\nCheck the file name and try again.").str());
                seam.MessageBox(m_pParentWnd, message, Caption(), MB_OK | MB_ICONEXCLAMATION);
                request.fileName = path;
                continue;
            }
        }
        m_strPathName = path;
        return IDOK;
    }
}

CString CFileDialog::GetFileName() const {
    return NameOf(m_strPathName);
}

CString CFileDialog::GetFileExt() const {
    const CString name = GetFileName();
    const int dot = name.ReverseFind('.');
    return dot < 0 ? CString() : name.Mid(dot + 1);
}

CString CFileDialog::GetFileTitle() const {
    const CString name = GetFileName();
    const int dot = name.ReverseFind('.');
    return dot < 0 ? name : name.Left(dot);
}
