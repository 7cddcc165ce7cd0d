// A page's table to and from the dimmer: Write, Read and the reset that Reset all uses.
#include "link/DeviceProtocol.h"
#include "platform/os/TimeService.h"
#include "platform/ui/AfxFunctions.h"
#include "platform/ui/CBusyScope.h"
#include "tables/CDlgTable.h"
#include "tables/TransferReport.h"

namespace {
// The only sign of a table that did not arrive.
constexpr DWORD kShortReadBeepHz = 100;
constexpr DWORD kShortReadBeepMs = 100;
}  // namespace

BOOL CDlgTable::WriteTableToDevice() {
    bool taken = false;
    if (m_pCableHandle != nullptr && CableIsOpen(*m_pCableHandle)) {
        taken = CableWriteTable(*m_pCableHandle, m_writeCommand, m_outputIndex, m_table);
    } else if (SerialIsOpen()) {
        taken = SerialWriteTable(m_writeCommand, m_outputIndex, m_table);
    }
    return taken ? TRUE : FALSE;
}

BOOL CDlgTable::ReadTableFromDevice() {
    DWORD count = 0;
    bool asked = true;
    // The protocol replaces the table only when a whole image arrived.
    if (m_pCableHandle != nullptr && CableIsOpen(*m_pCableHandle)) {
        count = CableReadTable(*m_pCableHandle, m_outputIndex, m_table);
    } else if (SerialIsOpen()) {
        count = SerialReadTable(m_outputIndex, m_table);
    } else {
        asked = false;
    }
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
    if (!TableLinkOpen(m_pCableHandle)) {
        return;
    }
    BOOL taken = FALSE;
    {
        CBusyScope busy;
        taken = WriteTableToDevice();
    }
    if (!taken) {
        AfxMessageBox(
            TableNotConfirmedText(m_outputIndex + 1, TableLinkGone(m_pCableHandle)).GetString(),
            MB_OK | MB_ICONEXCLAMATION);
    }
}

void CDlgTable::OnRead() {
    {
        CBusyScope busy;
        ReadTableFromDevice();
    }
    // The short read's beep alone would not say that every later read ends the same way.
    if (TableLinkOpen(m_pCableHandle) && TableLinkGone(m_pCableHandle)) {
        AfxMessageBox(kLinkLostText, MB_OK | MB_ICONEXCLAMATION);
    }
}
