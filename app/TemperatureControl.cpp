// Temperature control: the one-second poll of the actual temperature on the cable, and the
// shut-down temperature's Read, Write and Default, which only set requests that the next tick
// carries out.
#include <cerrno>
#include <climits>
#include <cstdlib>

#include "app/CBrenvoDlg.h"
#include "link/DeviceProtocol.h"
#include "link/TemperatureScale.h"
#include "link/TemperatureText.h"

namespace {

// The integer at the start of the text: white space, an optional sign, digits; 0 without digits,
// and the nearest int when it does not fit.
int LeadingInteger(const CString& text) {
    errno = 0;
    const long value = std::strtol(text.GetString(), nullptr, 10);
    if (value > INT_MAX || (errno == ERANGE && value > 0)) {
        return INT_MAX;
    }
    if (value < INT_MIN || (errno == ERANGE && value < 0)) {
        return INT_MIN;
    }
    return static_cast<int>(value);
}

}  // namespace

// The temperature poll is timer 0; the timers that follow the dimmer have their own identifiers.
void CBrenvoDlg::OnTimer(UINT_PTR nIDEvent) {
    if (OnFollowingTimer(nIDEvent)) {
        return;
    }
    UpdateData(TRUE);

    BYTE reply[TEMPERATURE_REPLY_FOUR_READINGS] = {};
    const DWORD count =
        m_nTempReplyLength > 0
            ? CableReadTemperature(m_hCable, reply, static_cast<DWORD>(m_nTempReplyLength))
            : 0;
    m_strActualTemp = ActualTemperatureText(reply, count, m_nTempReplyLength);

    if (m_bReadShutdown) {
        WORD raw = 0;
        CableReadShutdownTemperature(m_hCable, &raw);  // 0xffff unless both bytes arrived
        m_strShutdownTemp = RawTemperatureText(raw);
        m_bReadShutdown = 0;
    }
    if (m_bWriteShutdown) {
        CableWriteShutdownTemperature(m_hCable, m_nShutdownRaw);
        m_bReadShutdown = 1;  // read back at the next tick
        m_bWriteShutdown = 0;
    }

    UpdateData(FALSE);
    CDialog::OnTimer(nIDEvent);
}

void CBrenvoDlg::OnBnClickedTempRead() {
    m_bReadShutdown = 1;
}

// Uses the text of the last tick or read, not the field's current contents.
void CBrenvoDlg::OnBnClickedTempWrite() {
    m_nShutdownRaw = CelsiusToTempRaw(LeadingInteger(m_strShutdownTemp));
    m_bWriteShutdown = 1;
}

void CBrenvoDlg::OnBnClickedTempDefault() {
    m_nShutdownRaw = SHUTDOWN_RAW_DEFAULT;
    m_bWriteShutdown = 1;
}
