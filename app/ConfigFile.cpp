// The configuration file: File > Save config and Open config.
#include <cerrno>

#include "app/CBrenvoDlg.h"
#include "platform/os/PrivateProfile.h"
#include "platform/os/SafeFile.h"
#include "platform/ui/AfxFunctions.h"
#include "platform/ui/CFileDialog.h"

namespace {

constexpr const char* kConfigExt = ".ini";
constexpr const char* kSaveNameFormat = "%s Config.ini";
constexpr const char* kSaveFilter = "Config Files (*.ini)|*.ini||";
constexpr const char* kOpenName = "config.ini";
constexpr const char* kOpenFilter = "Config Files (*.ini)|*.ini|All Files (*.*)|*.*||";
constexpr DWORD kDialogFlags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST;
constexpr const char* kDeviceSection = "DEVICE";
constexpr const char* kNameKey = "NAME";
constexpr DWORD kNameBufferSize = 255;
constexpr const char* kOtherBoard = "Config-File is not for connected board !";
constexpr const char* kSaveFailed = "Config-File (%s) could not be saved: %s.";

}  // namespace

void CBrenvoDlg::OnSaveConfig() {
    CString name;
    name.Format(kSaveNameFormat, m_strDeviceName.GetString());
    name.Replace(" ", "_");
    CFileDialog dialog(FALSE, kConfigExt, name, kDialogFlags, kSaveFilter);
    if (dialog.DoModal() != IDOK) {
        return;
    }
    m_strConfigPath = dialog.GetPathName();
    // A name that cannot be stored (a line break in it) ends the save before any table: a file
    // without it would be refused by Open config on this same dimmer.
    const BOOL named =
        WritePrivateProfileStringA(kDeviceSection, kNameKey, m_strDeviceName, m_strConfigPath);
    const int nameError = named ? 0 : errno;
    for (int k = 1; named && k <= MAX_OUTPUTS; ++k) {
        if (m_nOutputs >= k) {
            m_tables[k - 1].SaveToIni(m_strConfigPath);
        }
    }
    // The file is replaced only once it is complete: on failure the old one stays as it was.
    const int flushError = FlushPrivateProfile(m_strConfigPath);
    if (const int error = named ? flushError : nameError) {
        CString report;
        report.Format(kSaveFailed, m_strConfigPath.GetString(), FileErrorText(error));
        AfxMessageBox(report, MB_OK | MB_ICONEXCLAMATION);
    }
}

void CBrenvoDlg::OnOpenConfig() {
    CFileDialog dialog(TRUE, kConfigExt, kOpenName, kDialogFlags, kOpenFilter);
    if (dialog.DoModal() != IDOK) {
        return;
    }
    m_strConfigPath = dialog.GetPathName();
    char name[kNameBufferSize];
    GetPrivateProfileStringA(kDeviceSection, kNameKey, "", name, kNameBufferSize, m_strConfigPath);
    if (m_strDeviceName.Compare(name) != 0) {
        AfxMessageBox(kOtherBoard, MB_OK);
        return;
    }
    for (CDlgTable& page : m_tables) {
        page.LoadFromIni(m_strConfigPath);
    }
}
