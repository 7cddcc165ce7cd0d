#include "link/CDlgStandAlone.h"

#include "link/CableTransport.h"
#include "link/DeviceProtocol.h"
#include "link/StandAloneFile.h"
#include "platform/os/TextMark.h"
#include "platform/ui/AfxFunctions.h"
#include "platform/ui/CBusyScope.h"
#include "platform/ui/CFileDialog.h"
#include "platform/ui/CProgressCtrl.h"
#include "resources/resource.h"

namespace {

const char kFilter[] = N_("HEX Files (*.hex)|*.hex|All Files (*.*)|*.*||");

// The main window's progress bar: the page lives in the tab control, which lives in the main
// window. Null when the page has no such host.
CProgressCtrl* MainProgressBar(const CWnd& page) {
    CWnd* tabs = page.GetParent();
    CWnd* main = tabs ? tabs->GetParent() : nullptr;
    return main ? dynamic_cast<CProgressCtrl*>(main->GetDlgItem(IDC_PROGRESS)) : nullptr;
}

// Shows a write's progress on the bar and puts the bar back at 0, in its former range, afterwards.
class ProgressShown {
public:
    ProgressShown(CProgressCtrl* bar, DWORD total) : m_bar(bar) {
        if (m_bar) {
            m_bar->GetRange(m_lower, m_upper);
            m_bar->SetRange32(0, static_cast<int>(total));
            m_bar->SetPos(0);
        }
    }
    ~ProgressShown() {
        if (m_bar) {
            m_bar->SetRange32(m_lower, m_upper);
            m_bar->SetPos(0);
        }
    }
    ProgressShown(const ProgressShown&) = delete;
    ProgressShown& operator=(const ProgressShown&) = delete;
    void Show(DWORD done) {
        if (m_bar) {
            m_bar->SetPos(static_cast<int>(done));
        }
    }

private:
    CProgressCtrl* m_bar;
    int m_lower = 0;
    int m_upper = 0;
};

}  // namespace

BEGIN_MESSAGE_MAP(CDlgStandAlone, CDialogPage)
ON_BN_CLICKED(IDC_WRITE_HEX, &CDlgStandAlone::OnWriteFromHexFile)
END_MESSAGE_MAP()

CDlgStandAlone::CDlgStandAlone(CWnd* pParent) : CDialogPage(IDD_STANDALONE, pParent) {}

void CDlgStandAlone::OnWriteFromHexFile() {
    CFileDialog dialog(TRUE, ".hex", "StandAlone.hex", OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                       kFilter, nullptr);
    if (dialog.DoModal() != IDOK) {
        return;
    }
    const CString message = WriteHexFile(dialog.GetPathName());
    if (!message.IsEmpty()) {
        AfxMessageBox(message, MB_OK | MB_ICONERROR);
    }
}

CString CDlgStandAlone::WriteHexFile(const CString& path) {
    // A full EEPROM takes minutes: the window keeps repainting but takes no input and no timer
    // tick, so that no other command slips in between the EEPROM bytes.
    CBusyScope busy;
    StandAloneImage image;
    CString message = LoadStandAloneFile(path, image);
    if (!message.IsEmpty()) {
        return message;
    }
    // Without a cable nothing could arrive: skip the minutes of pauses.
    const FT_HANDLE cable = m_pCableHandle ? *m_pCableHandle : nullptr;
    if (!CableIsOpen(cable) || image.count == 0) {
        return message;
    }
    ProgressShown progress(MainProgressBar(*this), image.count);
    WriteStandAloneImage(cable, image, [&progress](DWORD done) { progress.Show(done); });
    if (CableIsGone(cable)) {
        message = kLinkLostText;  // the bytes went nowhere, or only some of them arrived
    }
    return message;
}
