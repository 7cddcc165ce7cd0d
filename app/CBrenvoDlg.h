// CBrenvoDlg: the main window. It owns the output sliders, the temperature fields, the tab control
// with the twelve lookup-table pages and the StandAlone page, the progress bar and the menu, and
// finds the connected dimmer while it initialises.
#pragma once

#include "link/CDlgStandAlone.h"
#include "link/ModelProfiles.h"
#include "platform/os/CableDriver.h"
#include "platform/ui/CDialog.h"
#include "platform/ui/CProgressCtrl.h"
#include "platform/ui/CScrollBar.h"
#include "platform/ui/CSliderCtrl.h"
#include "tables/CDialogPageCtrl.h"
#include "tables/CDlgTable.h"

class CBrenvoDlg : public CDialog {
public:
    static constexpr int MAX_OUTPUTS = 12;
    static constexpr int SLIDER_ROWS = 4;

    explicit CBrenvoDlg(CWnd* pParent = nullptr);

    FT_HANDLE m_hCable = nullptr;
    FT_STATUS m_nCableStatus = 0;
    CString m_strDeviceName;
    CString m_strConfigPath;
    BYTE m_bReadShutdown = 0;
    BYTE m_bWriteShutdown = 0;
    int m_nTempReplyLength = 0;
    int m_nShutdownRaw = 0;
    int m_nMaxValue = 0;
    int m_nOutputs = 0;
    CDlgTable m_tables[MAX_OUTPUTS];
    CDlgStandAlone m_standAlone;
    int m_nOutputValue[MAX_OUTPUTS] = {};
    CScrollBar m_scrollBar;
    CDialogPageCtrl m_tabCtrl;
    CSliderCtrl m_sliders[SLIDER_ROWS];  // rows 4, 3, 2, 1
    int m_bLookup8Bit = 0;
    CString m_strActualTemp;
    CString m_strShutdownTemp;
    CString m_strOutputLabel[SLIDER_ROWS];
    HICON m_hIcon = nullptr;
    CProgressCtrl m_progress;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnTcnSelchangeTab(NMHDR* pNMHDR, LRESULT* pResult);
    void OnQuit();

    // Device detection and the model profiles (DeviceDetection.cpp).
    void DetectDevice();
    // Shapes the window for a profile: title, range, outputs, tabs, write commands, enabled
    // controls, scroll range and the temperature poll.
    void ApplyProfile(const DeviceProfile& profile);
    void EnableControls(const int* ids, int count, BOOL enable);
    // Adds the tabs "Output first" to "Output last" after the existing ones.
    void ShowOutputTabs(int first, int last);
    void StartTemperaturePoll(int replyLength);
    // The steps that end detection whatever it found: page ranges, slider ranges, first tab,
    // labels, and the Device menu.
    void FinishDetection();
    void SetTitleSuffix(const char* suffix);

    // Output control (OutputControl.cpp). `row` is 1 to 4, top to bottom.
    void SendOutput(int row);
    void OnNMCustomdrawSliderRow1(NMHDR* pNMHDR, LRESULT* pResult);
    void OnNMCustomdrawSliderRow2(NMHDR* pNMHDR, LRESULT* pResult);
    void OnNMCustomdrawSliderRow3(NMHDR* pNMHDR, LRESULT* pResult);
    void OnNMCustomdrawSliderRow4(NMHDR* pNMHDR, LRESULT* pResult);
    void OnBnClickedLookup8Bit();
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);

    // Temperature control (TemperatureControl.cpp).
    void OnTimer(UINT_PTR nIDEvent);
    void OnBnClickedTempRead();
    void OnBnClickedTempWrite();
    void OnBnClickedTempDefault();

    // The Device menu's bulk transfers (BulkTransfers.cpp).
    void OnReadAll();
    void OnWriteAll();
    void OnResetAll();

    // The configuration file (ConfigFile.cpp).
    void OnOpenConfig();
    void OnSaveConfig();

    DECLARE_MESSAGE_MAP()
};
