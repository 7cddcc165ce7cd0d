// A page's table to and from the dimmer: Write, Read and the reset that Reset all uses.
#include "link/DeviceProtocol.h"
#include "link/TableLink.h"
#include "platform/os/TimeService.h"
#include "platform/ui/AfxFunctions.h"
#include "platform/ui/CBusyScope.h"
#include "tables/CDlgTable.h"
#include "tables/TransferReport.h"

namespace {
// The only sign of a table that did not arrive.
constexpr DWORD kShortReadBeepHz = 100;
constexpr DWORD kShortReadBeepMs = 100;

FT_HANDLE CableOf(const FT_HANDLE* pCable) {
    return pCable != nullptr ? *pCable : nullptr;
}
}  // namespace

BOOL CDlgTable::WriteTableToDevice() {
    return WriteTableOverLink(CableOf(m_pCableHandle), m_writeCommand, m_outputIndex, m_table)
               ? TRUE
               : FALSE;
}

BOOL CDlgTable::ReadTableFromDevice() {
    const FT_HANDLE cable = CableOf(m_pCableHandle);
    const bool asked = TableLinkIsOpen(cable);
    // The table is replaced only when a whole image arrived.
    const DWORD count = ReadTableOverLink(cable, m_outputIndex, m_table);
    if (asked) {
        if (count == TABLE_IMAGE_SIZE) {
            RefillList();
        } else {
            Beep(kShortReadBeepHz, kShortReadBeepMs);
        }
    }
    RedrawCurve();
    HandOverCurve();
    m_cbPredefines.SetCurSel(0);
    return TRUE;
}

BOOL CDlgTable::ResetToLinearAndWrite() {
    SetMaxValue(m_maxValue);  // the linear curve of the page's range, list and preview
    m_cbPredefines.SetCurSel(0);
    return WriteTableToDevice();
}

void CDlgTable::OnWrite() {
    if (!TableLinkIsOpen(CableOf(m_pCableHandle))) {
        return;
    }
    BOOL taken = FALSE;
    {
        CBusyScope busy;
        taken = WriteTableToDevice();
    }
    if (!taken) {
        AfxMessageBox(
            TableNotConfirmedText(m_outputIndex + 1, TableLinkIsGone(CableOf(m_pCableHandle)))
                .GetString(),
            MB_OK | MB_ICONEXCLAMATION);
    }
}

void CDlgTable::OnRead() {
    {
        CBusyScope busy;
        ReadTableFromDevice();
    }
    // The short read's beep alone would not say that every later read ends the same way.
    if (TableLinkIsOpen(CableOf(m_pCableHandle)) && TableLinkIsGone(CableOf(m_pCableHandle))) {
        AfxMessageBox(kLinkLostText, MB_OK | MB_ICONEXCLAMATION);
    }
}
