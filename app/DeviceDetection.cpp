// Device detection: the search (cable first, then the serial ports) and the model profile that
// shapes the window for what answered. Runs while the main window initialises.
#include "app/CBrenvoDlg.h"

#include <algorithm>
#include <iterator>

#include "link/DimmerSearch.h"
#include "link/TemperatureText.h"
#include "platform/os/TextMark.h"
#include "resources/resource.h"

namespace {

constexpr int kOutputGroup[] = {
    IDC_GROUP_OUTPUT,  IDC_SLIDER_ROW1,   IDC_SLIDER_ROW2,   IDC_SLIDER_ROW3,   IDC_SLIDER_ROW4,
    IDC_LABEL_OUTPUT1, IDC_LABEL_OUTPUT2, IDC_LABEL_OUTPUT3, IDC_LABEL_OUTPUT4, IDC_LOOKUP_8BIT};
constexpr int kTemperatureGroup[] = {
    IDC_GROUP_TEMP,    IDC_LABEL_ACTUAL_TEMP, IDC_ACTUAL_TEMP, IDC_LABEL_SHUTDOWN_TEMP,
    IDC_SHUTDOWN_TEMP, IDC_TEMP_READ,         IDC_TEMP_WRITE,  IDC_TEMP_DEFAULT};
// The one-output serial model uses the top row alone.
constexpr int kTopRowOnly[] = {IDC_GROUP_OUTPUT, IDC_SLIDER_ROW1, IDC_LABEL_OUTPUT1,
                               IDC_LOOKUP_8BIT};

constexpr UINT_PTR kPollTimer = 0;

}  // namespace

void CBrenvoDlg::EnableControls(const int* ids, int count, BOOL enable) {
    for (int i = 0; i < count; ++i) {
        if (CWnd* control = GetDlgItem(ids[i])) {
            control->EnableWindow(enable);
        }
    }
}

void CBrenvoDlg::ShowOutputTabs(int first, int last) {
    for (int k = first; k <= last; ++k) {
        CString caption;
        caption.Format(N_("Output %d"), k);
        m_tabCtrl.AddPage(&m_tables[k - 1], caption);
    }
}

void CBrenvoDlg::StartTemperaturePoll(int replyLength) {
    m_bReadShutdown = 1;
    m_bWriteShutdown = 0;
    m_nTempReplyLength = replyLength;
    SetTimer(kPollTimer, TEMPERATURE_POLL_MS, nullptr);
}

void CBrenvoDlg::StopTemperaturePoll() {
    KillTimer(kPollTimer);
}

void CBrenvoDlg::TakeLink(const FoundDimmer& found) {
    m_hCable = found.cable;
    m_nCableStatus = found.cableStatus;
    m_strDeviceName = found.deviceName;
    m_port = found.port;
    for (const std::string& name : found.otherCables) {
        if (std::find(m_knownDimmers.begin(), m_knownDimmers.end(), name) == m_knownDimmers.end()) {
            m_knownDimmers.push_back(name);
        }
    }
}

void CBrenvoDlg::DetectDevice() {
    const FoundDimmer found = FindFirstDimmer();
    TakeLink(found);
    ApplyProfile(found.profile);
    FinishDetection();
}

void CBrenvoDlg::ApplyProfile(const DeviceProfile& profile) {
    SetTitleSuffix(profile.titleSuffix);
    // Nothing of the last dimmer stays: its readings, nor an output row beyond this one's.
    m_strActualTemp.Empty();
    m_strShutdownTemp.Empty();
    m_nMaxValue = profile.maxValue;
    m_nOutputs = profile.outputs;

    m_tabCtrl.DeleteAllItems();
    ShowOutputTabs(1, profile.outputTabs);
    if (profile.standAloneTab) {
        m_tabCtrl.AddPage(&m_standAlone, N_("StandAlone"));
    }
    for (int k = 0; k < MAX_OUTPUTS; ++k) {
        m_tables[k].m_writeCommand = profile.writeCommand[k];
    }

    EnableControls(kOutputGroup, static_cast<int>(std::size(kOutputGroup)),
                   profile.outputControls ? TRUE : FALSE);
    if (profile.topRowOnly && !profile.outputControls) {
        EnableControls(kTopRowOnly, static_cast<int>(std::size(kTopRowOnly)), TRUE);
    }
    EnableControls(kTemperatureGroup, static_cast<int>(std::size(kTemperatureGroup)),
                   profile.temperatureControls ? TRUE : FALSE);
    m_scrollBar.EnableWindow(profile.scrollMax >= 0 ? TRUE : FALSE);
    if (profile.scrollMax >= 0) {
        m_scrollBar.SetScrollRange(0, profile.scrollMax, TRUE);
    } else {
        m_scrollBar.SetScrollPos(0, TRUE);
    }

    m_bReadShutdown = 0;
    m_bWriteShutdown = 0;
    if (profile.tempReplyLength > 0) {
        StartTemperaturePoll(profile.tempReplyLength);
    } else {
        StopTemperaturePoll();
    }
}
