// Following the dimmer after start-up: ports that come and go, a link that hangs up, and
// Device > Search for dimmer. What was found is applied as at start-up, but detection never runs
// during a long operation or while the operator answers a dialog, never writes a table to the
// dimmer, and never changes a page's table without asking.
#include <unistd.h>

#include <cerrno>
#include <chrono>

#include "app/CBrenvoDlg.h"
#include "link/CableTransport.h"
#include "link/DeviceProtocol.h"
#include "link/DimmerSearch.h"
#include "link/SerialTransport.h"
#include "link/TableLink.h"
#include "platform/os/TextMark.h"
#include "platform/ui/AfxFunctions.h"
#include "platform/ui/CBusyScope.h"
#include "platform/ui/UiSeam.h"

namespace {

// Port events settle before they are acted on: a loose plug gives many in a short time.
constexpr UINT_PTR kSettleTimer = 1;
constexpr UINT kSettleMs = 400;
// The link in use is looked at for a hang-up that no port event reports (a device that stops
// without its node going away).
constexpr UINT_PTR kLinkTimer = 2;
constexpr UINT kLinkCheckMs = 500;
// udev gives a new node its access rights a moment after making it: a node that cannot be opened
// yet is waited for this long before it counts as nothing there.
constexpr std::chrono::milliseconds kAccessWait{3000};

constexpr char kRangeQuestion[] =
    N_("The dimmer found takes output values from 0 to %d; tables on the pages were made for "
       "another range.\n\nYes: reset the tables to the linear curve from 0 to %d.\nNo: keep every "
       "entry as it is.");

LONGLONG NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// A node under /dev that exists but is not ours to open yet.
bool AwaitsAccess(const std::string& name) {
    if (name.compare(0, 3, "tty") != 0) {
        return false;
    }
    const std::string path = "/dev/" + name;
    return ::access(path.c_str(), F_OK) == 0 && ::access(path.c_str(), R_OK | W_OK) != 0 &&
           errno == EACCES;
}

}  // namespace

CBrenvoDlg::~CBrenvoDlg() {
    if (m_portWatcher) {
        m_portWatcher->Stop();
    }
    CBusyScope::SetFinishedHook(nullptr);
}

void CBrenvoDlg::StartFollowing() {
    CBusyScope::SetFinishedHook([this] { PostMessage(WM_OPERATION_ENDED); });
    // Started before the first search, so that a port that appears during it is not missed.
    if (m_bWatchPorts) {
        m_portWatcher =
            std::make_unique<PortWatcher>([this](const PortEvent& event) { NotePortEvent(event); });
        m_portWatcher->Start();
    }
}

void CBrenvoDlg::FollowLink() {
    if (TableLinkIsOpen(m_hCable)) {
        SetTimer(kLinkTimer, kLinkCheckMs, nullptr);
    } else {
        KillTimer(kLinkTimer);
    }
}

void CBrenvoDlg::NotePortEvent(const PortEvent& event) {
    {
        std::lock_guard<std::mutex> lock(m_portMutex);
        m_portEvents.push_back(event);
    }
    PostMessage(WM_PORTS_CHANGED);
}

LRESULT CBrenvoDlg::OnPortsChanged(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    std::vector<PortEvent> events;
    {
        std::lock_guard<std::mutex> lock(m_portMutex);
        events.swap(m_portEvents);
    }
    for (const PortEvent& event : events) {
        if (event.kind == PortEvent::Kind::Appeared) {
            if (m_appearedPorts.empty()) {
                m_appearedAt = NowMs();
            }
            m_appearedPorts.push_back(event.name);
        }
    }
    if (!events.empty()) {
        SetTimer(kSettleTimer, kSettleMs, nullptr);  // restarted by every event
    }
    return 0;
}

LRESULT CBrenvoDlg::OnOperationEnded(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    // The operation has told the operator about a link that went away during it.
    GoOfflineIfLost(false);
    return 0;
}

bool CBrenvoDlg::OnFollowingTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == kSettleTimer) {
        OnPortsSettled();
        return true;
    }
    if (nIDEvent == kLinkTimer) {
        CheckLink();
        return true;
    }
    return false;
}

void CBrenvoDlg::OnPortsSettled() {
    if (ModalDepth() > 1) {
        return;  // the timer ticks on: handled once the operator has answered
    }
    // A port that went away may have been the one in use.
    GoOfflineIfLost(true);
    if (!TableLinkIsOpen(m_hCable) && NowMs() - m_appearedAt < kAccessWait.count()) {
        for (const std::string& name : m_appearedPorts) {
            if (AwaitsAccess(name)) {
                return;
            }
        }
    }
    KillTimer(kSettleTimer);
    const bool appeared = !m_appearedPorts.empty();
    m_appearedPorts.clear();
    // A dimmer already in use is kept: a port that appears beside it is not searched.
    if (appeared && !TableLinkIsOpen(m_hCable)) {
        RedetectDevice();
    }
}

void CBrenvoDlg::CheckLink() {
    if (ModalDepth() <= 1) {
        GoOfflineIfLost(true);
    }
}

void CBrenvoDlg::GoOfflineIfLost(bool tell) {
    if (TableLinkIsOpen(m_hCable) && TableLinkIsGone(m_hCable)) {
        GoOffline(tell);
    }
}

void CBrenvoDlg::OnSearchForDimmer() {
    RedetectDevice();
}

void CBrenvoDlg::CloseLink() {
    CableClose(m_hCable);
    SerialClose();
}

void CBrenvoDlg::GoOffline(bool tell) {
    CloseLink();
    FollowLink();
    m_strDeviceName.Empty();
    ApplyProfile(OfflineProfile());
    m_nMaxValue = m_tables[0].m_maxValue;  // the pages keep their range
    FinishDetection(true);
    if (tell) {
        AfxMessageBox(kLinkLostText, MB_OK | MB_ICONEXCLAMATION);
    }
}

void CBrenvoDlg::RedetectDevice() {
    FoundDimmer found;
    {
        // The wait cursor shows and the window repaints while the ports are asked in turn.
        CBusyScope busy;
        CloseLink();
        found = FindFirstDimmer();
    }
    m_hCable = found.cable;
    m_nCableStatus = found.cableStatus;
    m_strDeviceName = found.deviceName;
    ApplyProfile(found.profile);
    if (TableLinkIsOpen(m_hCable)) {
        TakeRange(m_nMaxValue);
    } else {
        m_nMaxValue =
            m_tables[0].m_maxValue;  // nothing to take a range from: the pages keep theirs
    }
    FinishDetection(true);
    FollowLink();
}

void CBrenvoDlg::TakeRange(int maxValue) {
    const WORD range = static_cast<WORD>(maxValue);
    bool differs = false;
    bool ownTables = false;
    for (const CDlgTable& page : m_tables) {
        if (page.m_maxValue != range) {
            differs = true;
            ownTables = ownTables || !page.HoldsLinearCurve();
        }
    }
    if (!differs) {
        return;
    }
    bool reset = true;
    if (ownTables) {
        CString question;
        question.Format(kRangeQuestion, maxValue, maxValue);
        reset = AfxMessageBox(question, MB_YESNO | MB_ICONQUESTION) == IDYES;
    }
    for (CDlgTable& page : m_tables) {
        if (page.m_maxValue == range) {
            continue;
        }
        if (reset) {
            page.SetMaxValue(range);
        } else {
            page.SetRangeKeepingTable(range);
        }
    }
}
