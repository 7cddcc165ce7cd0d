// Device detection: the cable first, then the serial ports, and the model profile that shapes the
// window for what answered. Runs once, while the main window initialises.
#include "app/CBrenvoDlg.h"

#include <iterator>

#include "app/ModelProfiles.h"
#include "link/CableTransport.h"
#include "link/DeviceProtocol.h"
#include "link/SerialTransport.h"
#include "platform/os/TimeService.h"
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
constexpr int kLowerRows[] = {IDC_SLIDER_ROW2,   IDC_SLIDER_ROW3,   IDC_SLIDER_ROW4,
                              IDC_LABEL_OUTPUT2, IDC_LABEL_OUTPUT3, IDC_LABEL_OUTPUT4};

constexpr int kFirstComPort = 1;
constexpr int kLastComPort = 256;
constexpr DWORD kPortPauseMs = 5;
constexpr UINT_PTR kPollTimer = 0;
constexpr UINT kPollPeriodMs = 1000;
constexpr int kNineOutputsScrollMax = 5;
constexpr int kTwelveOutputsScrollMax = 8;

constexpr char kSerialTitlePrefix[] = " - Connected to ";

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
        caption.Format("Output %d", k);
        m_tabCtrl.AddPage(&m_tables[k - 1], caption);
    }
}

void CBrenvoDlg::SetWriteCommand(int pages, BYTE command) {
    for (int k = 0; k < pages; ++k) {
        m_tables[k].m_writeCommand = command;
    }
}

void CBrenvoDlg::StartTemperaturePoll(int replyLength) {
    m_bReadShutdown = 1;
    m_bWriteShutdown = 0;
    m_nTempReplyLength = replyLength;
    SetTimer(kPollTimer, kPollPeriodMs, nullptr);
}

void CBrenvoDlg::DetectDevice() {
    m_hCable = nullptr;
    CString description;
    if (CableFindAndOpen(m_hCable, m_nCableStatus, description)) {
        if (CableIsOpen(m_hCable)) {
            m_strDeviceName = CableIdentify(m_hCable);
            SetTitleSuffix(CableTitleSuffix(m_strDeviceName));
        }
    } else {
        ScanSerialPorts();
    }
    ApplyProfileRules(description);
    FinishDetection();
}

void CBrenvoDlg::ScanSerialPorts() {
    for (int port = kFirstComPort; port <= kLastComPort; ++port) {
        if (!SerialOpen(port)) {
            Sleep(kPortPauseMs);
            continue;
        }
        DWORD count = 0;
        const CString reply = SerialIdentify(&count);
        if (count >= 1) {
            if (const char* model = SerialModelText(reply)) {
                ApplySerialProfile(model);
                return;
            }
        }
        SerialClose();
        Sleep(kPortPauseMs);
    }
}

void CBrenvoDlg::ApplySerialProfile(const char* model) {
    const bool oneOutput = CString(model) == SERIAL_MODEL_NWE_R8P;
    m_strDeviceName = model;
    SetTitleSuffix(CString(kSerialTitlePrefix) + model);
    m_tabCtrl.DeleteAllItems();
    if (oneOutput) {
        ShowOutputTabs(1, 1);
        m_nMaxValue = 1023;
        m_nOutputs = 1;
        SetWriteCommand(1, CMD_WRITE_TABLE_B);
        EnableControls(kTopRowOnly, static_cast<int>(std::size(kTopRowOnly)), TRUE);
        EnableControls(kLowerRows, static_cast<int>(std::size(kLowerRows)), FALSE);
    } else {
        ShowOutputTabs(1, 9);
        m_nMaxValue = 65535;
        m_nOutputs = 9;
        SetWriteCommand(9, CMD_WRITE_TABLE_B);
        EnableControls(kOutputGroup, static_cast<int>(std::size(kOutputGroup)), TRUE);
        m_scrollBar.EnableWindow(TRUE);
        m_scrollBar.SetScrollRange(0, kNineOutputsScrollMax, TRUE);
    }
}

void CBrenvoDlg::ApplyProfileRules(const CString& description) {
    const CableProfileRules rules = CableRulesFor(description, m_strDeviceName);
    const int outputCount = static_cast<int>(std::size(kOutputGroup));
    const int temperatureCount = static_cast<int>(std::size(kTemperatureGroup));

    if (rules.cableFamily) {
        m_nMaxValue = 511;
        m_nOutputs = 4;
        m_tabCtrl.AddPage(&m_standAlone, "StandAlone");
        EnableControls(kOutputGroup, outputCount, TRUE);
        EnableControls(kTemperatureGroup, temperatureCount, TRUE);
        SetWriteCommand(MAX_OUTPUTS, CMD_WRITE_TABLE_A);
        StartTemperaturePoll(TEMPERATURE_REPLY_ONE_BYTE);
    }
    if (rules.cableSeries) {
        m_nMaxValue = 65535;
        m_nOutputs = 12;
        ShowOutputTabs(5, 12);
        SetWriteCommand(MAX_OUTPUTS, CMD_WRITE_TABLE_B);
    }
    if (rules.t5qm) {
        m_tabCtrl.DeleteAllItems();
        m_nMaxValue = 65535;
        m_nOutputs = 9;
        ShowOutputTabs(1, 9);
        SetWriteCommand(9, CMD_WRITE_TABLE_B);
        EnableControls(kOutputGroup, outputCount, TRUE);
        m_scrollBar.EnableWindow(TRUE);
        EnableControls(kTemperatureGroup, temperatureCount, FALSE);
        m_scrollBar.SetScrollRange(0, kNineOutputsScrollMax, TRUE);
        SetTitleSuffix(" - Connected to DMX-LED-Dimmer T5 QM");
        KillTimer(kPollTimer);
    }
    if (rules.kav5806) {
        m_tabCtrl.DeleteAllItems();
        m_nMaxValue = 65535;
        m_nOutputs = 12;
        ShowOutputTabs(1, 12);
        SetWriteCommand(MAX_OUTPUTS, CMD_WRITE_TABLE_B);
        EnableControls(kOutputGroup, outputCount, TRUE);
        m_scrollBar.EnableWindow(TRUE);
        EnableControls(kTemperatureGroup, temperatureCount, FALSE);
        m_scrollBar.SetScrollRange(0, kTwelveOutputsScrollMax, TRUE);
        KillTimer(kPollTimer);
    }
    if (rules.qp4) {
        m_nMaxValue = 1023;
        m_nOutputs = 4;
        SetWriteCommand(4, CMD_WRITE_TABLE_B);
        EnableControls(kOutputGroup, outputCount, TRUE);
        StartTemperaturePoll(TEMPERATURE_REPLY_FOUR_READINGS);
    }
}
