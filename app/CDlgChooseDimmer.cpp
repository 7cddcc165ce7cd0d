#include "app/CDlgChooseDimmer.h"

#include <cstring>
#include <string>

#include "platform/os/UserLanguage.h"
#include "platform/ui/CDataExchange.h"
#include "platform/ui/Resource.h"
#include "resources/resource.h"

namespace {

enum Column { kState, kPort, kModel, kSerialNumber, kStableName };

// The outcome's title without its leading " - ".
CString ModelText(const CString& titleSuffix) {
    const char* text = titleSuffix.GetString();
    return std::strncmp(text, " - ", 3) == 0 ? CString(text + 3) : titleSuffix;
}

}  // namespace

CDlgChooseDimmer::CDlgChooseDimmer(const std::vector<FoundDimmer>& dimmers, int inUse,
                                   CWnd* pParent)
    : CDialog(IDD_CHOOSE_DIMMER, pParent), m_dimmers(dimmers), m_nInUse(inUse) {}

void CDlgChooseDimmer::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_DIMMER_LIST, m_listDimmers);
}

BOOL CDlgChooseDimmer::OnInitDialog() {
    CDialog::OnInitDialog();
    m_listDimmers.InsertColumn(kState, "", LVCFMT_LEFT, 50);
    m_listDimmers.InsertColumn(kPort, AfxFindString(IDS_CHOOSE_PORT), LVCFMT_LEFT, 100);
    m_listDimmers.InsertColumn(kModel, AfxFindString(IDS_CHOOSE_MODEL), LVCFMT_LEFT, 210);
    m_listDimmers.InsertColumn(kSerialNumber, AfxFindString(IDS_CHOOSE_SERIAL_NUMBER), LVCFMT_LEFT,
                               110);
    m_listDimmers.InsertColumn(kStableName, AfxFindString(IDS_CHOOSE_STABLE_NAME), LVCFMT_LEFT,
                               170);
    m_listDimmers.SetExtendedStyle(LVS_EX_FULLROWSELECT);
    for (int row = 0; row < static_cast<int>(m_dimmers.size()); ++row) {
        const FoundDimmer& dimmer = m_dimmers[static_cast<std::size_t>(row)];
        // The list shows its rows as they are (ports and models are data); the mark is a text.
        const std::string mark = row == m_nInUse ? ShownText(AfxFindString(IDS_CHOOSE_IN_USE)) : "";
        m_listDimmers.InsertItem(row, mark.c_str());
        m_listDimmers.SetItemText(row, kPort, dimmer.port.name.c_str());
        m_listDimmers.SetItemText(row, kModel, ModelText(dimmer.profile.titleSuffix));
        m_listDimmers.SetItemText(row, kSerialNumber, dimmer.port.serialNumber.c_str());
        m_listDimmers.SetItemText(row, kStableName, dimmer.port.stablePath.c_str());
    }
    m_listDimmers.SetColumnWidth(kState,
                                 LVSCW_AUTOSIZE_USEHEADER);  // the mark is a text of any length
    const int selected = m_nInUse >= 0 ? m_nInUse : 0;
    m_listDimmers.SetItemState(selected, LVIS_SELECTED | LVIS_FOCUSED,
                               LVIS_SELECTED | LVIS_FOCUSED);
    m_listDimmers.SetFocus();
    return FALSE;  // the focus is on the list
}

void CDlgChooseDimmer::OnOK() {
    m_nChosen = m_listDimmers.GetNextItem(-1, LVNI_SELECTED);
    CDialog::OnOK();
}
