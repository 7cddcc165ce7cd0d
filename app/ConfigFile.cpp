// The configuration file: File > Save config and Open config.
#include "app/CBrenvoDlg.h"
#include "platform/os/SafeFile.h"
#include "platform/os/TextMark.h"
#include "platform/ui/AfxFunctions.h"
#include "platform/ui/CFileDialog.h"
#include "tables/Configuration.h"

namespace {

constexpr const char* kConfigExt = ".ini";
constexpr const char* kSaveNameFormat = "%s Config.ini";
constexpr const char* kSaveFilter = N_("Config Files (*.ini)|*.ini||");
constexpr const char* kOpenName = "config.ini";
constexpr const char* kOpenFilter = N_("Config Files (*.ini)|*.ini|All Files (*.*)|*.*||");
constexpr DWORD kDialogFlags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST;
constexpr const char* kSaveFailed = N_("Config-File (%s) could not be saved: %s.");

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
    const int tables = m_nOutputs < MAX_OUTPUTS ? m_nOutputs : MAX_OUTPUTS;
    const int error = SaveConfiguration(m_strConfigPath, m_strDeviceName, tables, [this](int k) {
        return m_tables[k].SaveToIni(m_strConfigPath);
    });
    if (error != 0) {
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
    if (!ConfigurationIsFor(m_strConfigPath, m_strDeviceName)) {
        AfxMessageBox(CONFIG_OTHER_BOARD, MB_OK);
        return;
    }
    for (CDlgTable& page : m_tables) {
        page.LoadFromIni(m_strConfigPath);
    }
}
