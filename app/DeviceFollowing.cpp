// Following the dimmer after start-up: ports that come, go and change, a link that hangs up, a
// cable whose dimmer answers only later, and Device > Search for dimmer. What was found is applied
// as at start-up, but detection never runs during a long operation or while the operator answers
// a dialog, never writes a table to the dimmer, and never changes a page's table without asking.
// A link that hangs up is closed at once, whatever dialog is open; the message and the change of
// profile wait until the dialog is closed.
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

#include "app/CBrenvoDlg.h"
#include "link/CableTransport.h"
#include "link/DeviceProtocol.h"
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
// A cable without a dimmer is asked who is behind it, so that a dimmer switched on later is found.
constexpr UINT_PTR kProbeTimer = 3;
constexpr UINT kProbeMs = 2000;
// udev gives a new node its access rights a moment after making it: a node that cannot be opened
// yet is waited for this long; rights that come later are reported as a change of the port.
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

bool IsDevName(const std::string& name) {
    return name.compare(0, 3, "tty") == 0;
}

// A node under /dev that exists but is not ours to open yet.
bool AwaitsAccess(const std::string& name) {
    if (!IsDevName(name)) {
        return false;
    }
    const std::string path = "/dev/" + name;
    return ::access(path.c_str(), F_OK) == 0 && ::access(path.c_str(), R_OK | W_OK) != 0 &&
           errno == EACCES;
}

// A port event's name ("ttyUSB0") names the port "/dev/ttyUSB0" of the port list.
bool SameName(const std::string& portName, const std::string& eventName) {
    const std::size_t slash = portName.rfind('/');
    return portName.compare(slash == std::string::npos ? 0 : slash + 1, std::string::npos,
                            eventName) == 0;
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
    if (TableLinkIsOpen(m_hCable) || m_lostLink != LostLink::None) {
        SetTimer(kLinkTimer, kLinkCheckMs, nullptr);
    } else {
        KillTimer(kLinkTimer);
    }
    if (CableWithoutDimmer()) {
        SetTimer(kProbeTimer, kProbeMs, nullptr);
    } else {
        KillTimer(kProbeTimer);
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
        // A port whose rights changed may open now, however late that is: it is searched as one
        // that appeared, unless it is still not ours to open.
        const bool appeared = event.kind == PortEvent::Kind::Appeared ||
                              (event.kind == PortEvent::Kind::Changed && !AwaitsAccess(event.name));
        if (appeared) {
            if (m_appearedPorts.empty()) {
                m_appearedAt = NowMs();
            }
            m_appearedPorts.push_back(event.name);
        } else if (event.kind == PortEvent::Kind::Disappeared) {
            m_knownDimmers.erase(
                std::remove_if(m_knownDimmers.begin(), m_knownDimmers.end(),
                               [&](const std::string& name) { return SameName(name, event.name); }),
                m_knownDimmers.end());
        }
    }
    if (!events.empty()) {
        SetTimer(kSettleTimer, kSettleMs, nullptr);  // restarted by every event
    }
    return 0;
}

LRESULT CBrenvoDlg::OnOperationEnded(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    // The operation has told the operator about a link that went away during it.
    if (TableLinkIsOpen(m_hCable) && TableLinkIsGone(m_hCable)) {
        DropLink(false);
    }
    if (EndLostLink()) {
        RedetectDevice();
    }
    return 0;
}

bool CBrenvoDlg::OnFollowingTimer(UINT_PTR nIDEvent) {
    switch (nIDEvent) {
        case kSettleTimer:
            OnPortsSettled();
            return true;
        case kLinkTimer:
            CheckLink();
            return true;
        case kProbeTimer:
            ProbeCable();
            return true;
        default:
            return false;
    }
}

void CBrenvoDlg::OnPortsSettled() {
    // A port that went away may have been the one in use.
    DropLinkIfGone();
    if (ModalDepth() > 1) {
        ShowTitle();  // a known dimmer may have gone
        return;       // the timer ticks on: handled once the operator has answered
    }
    bool searched = false;
    if (EndLostLink()) {
        RedetectDevice();
        searched = true;
    }
    if (!DimmerInUse() && NowMs() - m_appearedAt < kAccessWait.count() &&
        std::any_of(m_appearedPorts.begin(), m_appearedPorts.end(), AwaitsAccess)) {
        return;
    }
    KillTimer(kSettleTimer);
    const bool appeared = !m_appearedPorts.empty();
    m_appearedPorts.clear();
    // A dimmer already in use is kept: a port that appears beside it is not searched.
    if (appeared && !searched && !DimmerInUse()) {
        RedetectDevice();
    } else {
        ShowTitle();
    }
}

void CBrenvoDlg::CheckLink() {
    DropLinkIfGone();
    if (EndLostLink()) {
        RedetectDevice();  // the next dimmer attached, in the usual order
    }
}

void CBrenvoDlg::ProbeCable() {
    if (ModalDepth() > 1 || !CableWithoutDimmer()) {
        return;
    }
    FoundDimmer found;
    found.port = m_port;
    found.cable = m_hCable;
    found.cableStatus = m_nCableStatus;
    if (IdentifyDimmer(found)) {
        UseDimmer(found);
    }
}

bool CBrenvoDlg::DimmerInUse() const {
    return TableLinkIsOpen(m_hCable) && !CableWithoutDimmer();
}

bool CBrenvoDlg::CableWithoutDimmer() const {
    return CableIsOpen(m_hCable) &&
           CableProfile(m_port.description, true, m_strDeviceName).titleSuffix ==
               CableTitleSuffix(CString());
}

void CBrenvoDlg::DropLinkIfGone() {
    if (TableLinkIsOpen(m_hCable) && TableLinkIsGone(m_hCable)) {
        // A cable without a dimmer that goes is no lost dimmer.
        DropLink(!CableWithoutDimmer());
    }
}

void CBrenvoDlg::DropLink(bool tell) {
    if (m_lostLink != LostLink::Told) {
        m_lostLink = tell ? LostLink::Told : LostLink::Quietly;
    }
    CloseLink();
    StopTemperaturePoll();
    FollowLink();
    EnableDeviceMenu(false);
    // The name and the outputs stay until the profile changes: a handler that waits for a dialog
    // finishes with what the pages came from.
    SetTitleSuffix(OfflineProfile().titleSuffix);
}

bool CBrenvoDlg::EndLostLink() {
    if (m_lostLink == LostLink::None || ModalDepth() > 1 || CBusyScope::IsActive()) {
        return false;
    }
    const bool tell = m_lostLink == LostLink::Told;
    m_lostLink = LostLink::None;
    FollowLink();
    m_strDeviceName.Empty();
    ApplyProfile(OfflineProfile());
    m_nMaxValue = m_tables[0].m_maxValue;  // the pages keep their range
    FinishDetection(true);
    if (tell) {
        AfxMessageBox(kLinkLostText, MB_OK | MB_ICONEXCLAMATION);
    }
    return true;
}

void CBrenvoDlg::OnSearchForDimmer() {
    EndLostLink();
    RedetectDevice();
}

void CBrenvoDlg::CloseLink() {
    CableClose(m_hCable);
    SerialClose();
}

void CBrenvoDlg::RedetectDevice() {
    FoundDimmer found;
    {
        // The wait cursor shows and the window repaints while the ports are asked in turn.
        CBusyScope busy;
        CloseLink();
        found = FindFirstDimmer();
    }
    UseDimmer(found);
}

void CBrenvoDlg::UseDimmer(const FoundDimmer& found) {
    TakeLink(found);
    ApplyProfile(found.profile);
    FollowLink();  // a link that goes while the range question waits is noticed too
    if (TableLinkIsOpen(m_hCable)) {
        TakeRange(m_nMaxValue);
    }
    if (!TableLinkIsOpen(m_hCable)) {
        // Nothing to take a range from (or gone while asked): the pages keep theirs.
        m_nMaxValue = m_tables[0].m_maxValue;
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
        // The sliders still have the last range: what they would send means nothing yet.
        m_bAskingRange = true;
        reset = AfxMessageBox(question, MB_YESNO | MB_ICONQUESTION) == IDYES;
        m_bAskingRange = false;
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
