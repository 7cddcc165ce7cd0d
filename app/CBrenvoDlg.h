// CBrenvoDlg: the main window. It owns the output sliders, the temperature fields, the tab control
// with the twelve lookup-table pages and the StandAlone page, the progress bar and the menu, and
// finds the connected dimmer while it initialises.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "link/CDlgStandAlone.h"
#include "link/DimmerSearch.h"
#include "link/ModelProfiles.h"
#include "platform/os/CableDriver.h"
#include "platform/os/PortWatcher.h"
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
    ~CBrenvoDlg() override;

    // Posted when ports came, went or changed, and when a long operation has ended.
    static constexpr UINT WM_PORTS_CHANGED = WM_APP + 1;
    static constexpr UINT WM_OPERATION_ENDED = WM_APP + 2;

    // Whether the window watches the system's ports while it runs (the program does; a test that
    // plays the ports itself reports their events through NotePortEvent).
    bool m_bWatchPorts = false;
    // A port came or went. Any thread: the window acts on it later, on its own thread.
    void NotePortEvent(const PortEvent& event);

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
    void StopTemperaturePoll();
    // The steps that end detection whatever it found: page ranges (the pages' tables become the
    // linear curve, unless they are kept), slider ranges (the 8-bit range while the box is ticked),
    // first tab, labels, and the Device menu.
    void FinishDetection(bool keepTables = false);
    // The title: the base, the outcome's suffix and, when other dimmers are known to be attached,
    // the port in use.
    void SetTitleSuffix(const char* suffix);
    void ShowTitle();
    void EnableDeviceMenu(bool enable);
    // Takes over what a search found as the link in use (the window is shaped by its profile
    // separately).
    void TakeLink(const FoundDimmer& found);

    // Following the dimmer after start-up (DeviceFollowing.cpp).
    void OnSearchForDimmer();
    LRESULT OnPortsChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnOperationEnded(WPARAM wParam, LPARAM lParam);
    // The following timers' ticks; false for a tick of another timer.
    bool OnFollowingTimer(UINT_PTR nIDEvent);
    void StartFollowing();
    // Runs the timers that fit the link in use: its hang-up check (also while a lost link waits
    // for a dialog to close), and the identify probe of a cable whose dimmer does not answer.
    void FollowLink();
    void OnPortsSettled();
    void CheckLink();
    // Asks the cable without a dimmer who is behind it, and takes the dimmer that answers.
    void ProbeCable();
    // Closes the link in use, searches again as at start-up and applies what was found, keeping
    // the pages' tables.
    void RedetectDevice();
    // Shapes the window for what a search or a choice found, as at start-up, but the pages keep
    // their tables unless the range question says otherwise.
    void UseDimmer(const FoundDimmer& found);
    void CloseLink();
    // Whether a dimmer answered on the link in use (an open cable may have none behind it).
    bool DimmerInUse() const;
    bool CableWithoutDimmer() const;
    // The link in use has hung up: closed at once, whatever dialog is open, with the title saying
    // so and nothing more sent. `tell`: a dimmer was lost, not a cable without one.
    void DropLink(bool tell);
    void DropLinkIfGone();
    // What waits for the operator's dialogs after a lost link: the nothing-found profile (the
    // pages keep their range and tables) and the message that says so. False when nothing waits
    // or a dialog is still open.
    bool EndLostLink();
    // Pages whose range is not the new one are reset to its linear curve, or, when one of them
    // holds a table of its own and the operator says so, keep their entries.
    void TakeRange(int maxValue);

    // Device > Choose dimmer (DimmerChoice.cpp).
    void OnChooseDimmer();
    // Every dimmer attached: the one in use as it is known, the others identified in turn.
    std::vector<FoundDimmer> ListAttachedDimmers();
    void SwitchToDimmer(const DimmerPort& port);

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

private:
    enum class LostLink { None, Quietly, Told };

    DimmerPort m_port;                        // of the link in use
    CString m_strTitleSuffix;                 // of the outcome shown
    LostLink m_lostLink = LostLink::None;     // closed; the rest waits for a dialog to close
    bool m_bAskingRange = false;              // no level is sent meanwhile
    std::vector<std::string> m_knownDimmers;  // ports known to hold a dimmer: the last listing's,
                                              // and the search's other cables
    std::mutex m_portMutex;
    std::vector<PortEvent> m_portEvents;       // reported, not yet taken
    std::vector<std::string> m_appearedPorts;  // since the events last settled
    LONGLONG m_appearedAt = 0;                 // when the first of them was taken
    // Last, so that it stops (and its thread with it) before anything it reports to goes.
    std::unique_ptr<PortWatcher> m_portWatcher;
};
