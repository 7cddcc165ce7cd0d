// The Device menu: Read all, Write all and Reset all over the model's outputs. Each runs in a busy
// scope: the window repaints and answers the desktop but takes no input and no timer tick until
// the last table has moved. Write all and Reset all stop at an output the dimmer did not confirm
// and say, in one message, which outputs were written and which were not.
#include "app/CBrenvoDlg.h"
#include "link/TableLink.h"
#include "platform/ui/AfxFunctions.h"
#include "platform/ui/CBusyScope.h"
#include "tables/TransferReport.h"

void CBrenvoDlg::OnReadAll() {
    bool lost = false;
    {
        CBusyScope busy;
        for (int k = 1; k <= MAX_OUTPUTS && k <= m_nOutputs; ++k) {
            m_tables[k - 1].ReadTableFromDevice();
            if (TableLinkIsGone(m_hCable)) {
                lost = true;  // every later read would end unanswered
                break;
            }
        }
    }
    if (lost) {
        AfxMessageBox(kLinkLostText, MB_OK | MB_ICONEXCLAMATION);
    }
}

void CBrenvoDlg::OnWriteAll() {
    const int n = m_nOutputs;
    const bool link = TableLinkIsOpen(m_hCable);
    int failed = 0;
    m_progress.SetRange(0, static_cast<short>(n + 1));
    m_progress.SetPos(1);
    {
        CBusyScope busy;
        for (int k = 1; k <= MAX_OUTPUTS; ++k) {
            if (k <= n && !m_tables[k - 1].WriteTableToDevice() && link) {
                failed = k;
                break;
            }
            if (k < MAX_OUTPUTS) {
                m_progress.SetPos(k + 1);
            }
        }
    }
    m_progress.SetPos(0);
    if (failed != 0) {
        AfxMessageBox(BulkNotConfirmedText(failed, n, TableLinkIsGone(m_hCable)).GetString(),
                      MB_OK | MB_ICONEXCLAMATION);
    }
}

void CBrenvoDlg::OnResetAll() {
    const bool link = TableLinkIsOpen(m_hCable);
    int failed = 0;
    {
        CBusyScope busy;
        for (int k = 1; k <= MAX_OUTPUTS && k <= m_nOutputs; ++k) {
            if (!m_tables[k - 1].ResetToLinearAndWrite() && link) {
                failed = k;
                break;
            }
        }
    }
    if (failed != 0) {
        AfxMessageBox(
            BulkNotConfirmedText(failed, m_nOutputs, TableLinkIsGone(m_hCable)).GetString(),
            MB_OK | MB_ICONEXCLAMATION);
    }
}
