// The window follows the dimmer after start-up: ports that appear and disappear (reported as the
// port watcher would), a link lost during Write all, a plug that flaps, a dimmer of another range,
// and Device > Search for dimmer.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/ui/CMenu.h"
#include "platform/ui/testing/UiDriver.h"
#include "tests/app/DimmerRig.h"

namespace {

using Kind = PortEvent::Kind;

// Longer than the settling of port events, so that what they start has run.
constexpr int kSettledMs = 1000;

std::string Title(CWnd& window) {
    CString title;
    window.GetWindowText(title);
    return title.GetString();
}

int Count(const std::vector<std::string>& texts, const std::string& text) {
    int n = 0;
    for (const std::string& t : texts) {
        n += t == text ? 1 : 0;
    }
    return n;
}

std::vector<std::string> Parts(const std::string& text) {
    std::vector<std::string> parts;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t bar = std::min(text.find('|', start), text.size());
        parts.push_back(text.substr(start, bar - start));
        start = bar + 1;
    }
    return parts;
}

struct Case {
    const char* name;
    const char* startModel;  // a cable model attached before start-up, or null
    const char* title;       // afterwards
    const char* messages;    // a part of each message box's text, separated by '|'; "" for none
    int searches;            // cable searches after start-up (one per detection)
    WORD page1Top;           // page 1's last entry afterwards
    WORD range;              // every page's range afterwards
    bool writeAll;           // tables were written on purpose
    // What happens after start-up, to the window and the dimmer attached at start (or null); may
    // queue message box answers.
    void (*act)(DimmerRig&, CBrenvoDlg&, DimmerEmulator*);
};

void Appear(CBrenvoDlg& dlg, const char* name) {
    dlg.NotePortEvent({Kind::Appeared, name});
}
void Disappear(CBrenvoDlg& dlg, const char* name) {
    dlg.NotePortEvent({Kind::Disappeared, name});
}
void OwnTable(CBrenvoDlg& dlg) {
    dlg.m_tables[0].m_table[255] = 77;
}
// A table of the operator's own on page 1, then the cable pulled out (and the loss told).
void UnplugWithOwnTable(DimmerRig& rig, CBrenvoDlg& dlg) {
    OwnTable(dlg);
    rig.Ui().ExpectMessageBox(IDOK);
    rig.Cable().Unplug();
    Disappear(dlg, "CABLE0");
    UiDriver::ProcessEventsFor(kSettledMs);
}

const char kQp4[] = "Brenvo V2.4 - LED-Dimmer QP4 (4 PowerUnit) Online";
const char kKav[] = "Brenvo V2.4 - LED-Dimmer KAV5806 Online";
const char kOffline[] = "Brenvo V2.4 - Offline";
const char kLost[] = "The connection to the dimmer is lost.";

// What happens after start-up in each case.
void AppearsWhileOffline(DimmerRig& rig, CBrenvoDlg& dlg, DimmerEmulator* /*dimmer*/) {
    rig.AttachCable("qp4");
    Appear(dlg, "CABLE0");
}

void AppearsBesideADimmerInUse(DimmerRig& rig, CBrenvoDlg& dlg, DimmerEmulator* /*dimmer*/) {
    rig.AttachSerial("t5qm");
    Appear(dlg, "EMU0");
}

void DisappearsWhileIdle(DimmerRig& rig, CBrenvoDlg& dlg, DimmerEmulator* /*dimmer*/) {
    OwnTable(dlg);
    rig.Ui().ExpectMessageBox(IDOK);
    rig.Cable().Unplug();
    Disappear(dlg, "CABLE0");
}

void HangsUpWithoutAPortEvent(DimmerRig& rig, CBrenvoDlg& /*dlg*/, DimmerEmulator* /*dimmer*/) {
    rig.Ui().ExpectMessageBox(IDOK);
    rig.Cable().Unplug();
}

void DisappearsDuringWriteAll(DimmerRig& rig, CBrenvoDlg& dlg, DimmerEmulator* dimmer) {
    rig.Ui().ExpectMessageBox(IDOK);  // the operation's own, and no other
    OwnTable(dlg);
    dimmer->SetFault(DimmerFault::HangUpMidTransfer);
    Disappear(dlg, "CABLE0");  // taken only once the operation has ended
    ASSERT_TRUE(UiDriver::TriggerMenuItem(dlg, ID_DEVICE_WRITEALL));
}

void FlapsAndEndsPluggedIn(DimmerRig& rig, CBrenvoDlg& dlg, DimmerEmulator* /*dimmer*/) {
    for (int i = 0; i < 10; ++i) {
        Appear(dlg, "CABLE0");
        Disappear(dlg, "CABLE0");
    }
    rig.AttachCable("qp4");
    Appear(dlg, "CABLE0");
}

void AnotherRangeTablesKept(DimmerRig& rig, CBrenvoDlg& dlg, DimmerEmulator* /*dimmer*/) {
    UnplugWithOwnTable(rig, dlg);
    rig.Ui().ExpectMessageBox(IDNO);
    rig.AttachCable("kav5806");
    Appear(dlg, "CABLE0");
}

void AnotherRangeTablesReset(DimmerRig& rig, CBrenvoDlg& dlg, DimmerEmulator* /*dimmer*/) {
    UnplugWithOwnTable(rig, dlg);
    rig.Ui().ExpectMessageBox(IDYES);
    rig.AttachCable("kav5806");
    Appear(dlg, "CABLE0");
}

void TheSameRangeAgainNothingAsked(DimmerRig& rig, CBrenvoDlg& dlg, DimmerEmulator* /*dimmer*/) {
    UnplugWithOwnTable(rig, dlg);
    rig.AttachCable("qp4");
    Appear(dlg, "CABLE0");
}

void AppearsWhileADialogWaitsForAnAnswer(DimmerRig& rig, CBrenvoDlg& dlg,
                                         DimmerEmulator* /*dimmer*/) {
    rig.AttachCable("qp4");
    rig.Ui().ExpectModal(
        [&](CDialog& gamma) {
            Appear(dlg, "CABLE0");
            UiDriver::ProcessEventsFor(kSettledMs);
            EXPECT_EQ(Title(dlg), kOffline) << "searched while the dialog was open";
            gamma.OnCancel();
        },
        IDD_GAMMA);
    UiDriver::PickComboEntry(dlg.m_tables[0].m_cbPredefines, 4);  // "Gamma"
}

void SearchedForOnDemand(DimmerRig& rig, CBrenvoDlg& dlg, DimmerEmulator* /*dimmer*/) {
    rig.AttachCable("kav5806");
    ASSERT_TRUE(UiDriver::TriggerMenuItem(dlg, ID_DEVICE_SEARCH));
}

}  // namespace

TEST(FollowingTest, TheWindowFollowsTheDimmerAndKeepsThePagesTables) {
    const Case cases[] = {
        {"appears while offline", nullptr, kQp4, "", 1, 1023, 1023, false, AppearsWhileOffline},
        {"appears beside a dimmer in use", "qp4", kQp4, "", 0, 1023, 1023, false,
         AppearsBesideADimmerInUse},
        {"disappears while idle", "qp4", kOffline, kLost, 0, 77, 1023, false, DisappearsWhileIdle},
        {"hangs up without a port event", "qp4", kOffline, kLost, 0, 1023, 1023, false,
         HangsUpWithoutAPortEvent},
        {"disappears during Write all", "qp4", kOffline, "did not confirm the table of Output 1", 0,
         77, 1023, true, DisappearsDuringWriteAll},
        {"flaps and ends plugged in", nullptr, kQp4, "", 1, 1023, 1023, false,
         FlapsAndEndsPluggedIn},
        {"another range, tables kept", "qp4", kKav, "lost|range", 1, 77, 65535, false,
         AnotherRangeTablesKept},
        {"another range, tables reset", "qp4", kKav, "lost|range", 1, 65535, 65535, false,
         AnotherRangeTablesReset},
        {"the same range again, nothing asked", "qp4", kQp4, kLost, 1, 77, 1023, false,
         TheSameRangeAgainNothingAsked},
        {"appears while a dialog waits for an answer", nullptr, kQp4, "", 1, 1023, 1023, false,
         AppearsWhileADialogWaitsForAnAnswer},
        {"searched for on demand", nullptr, kKav, "", 1, 65535, 65535, false, SearchedForOnDemand},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DimmerRig rig;
        DimmerEmulator* dimmer = c.startModel ? rig.AttachCable(c.startModel) : nullptr;
        rig.Run([&](CBrenvoDlg& dlg) {
            rig.Cable().ClearLog();
            c.act(rig, dlg, dimmer);
            UiDriver::ProcessEventsFor(kSettledMs);

            EXPECT_EQ(Title(dlg), c.title);
            const std::vector<std::string> messages = MessageTexts(rig.Ui());
            const std::vector<std::string> parts = Parts(c.messages);
            ASSERT_EQ(messages.size(), parts.size());
            for (std::size_t i = 0; i < messages.size(); ++i) {
                EXPECT_NE(messages[i].find(parts[i]), std::string::npos) << messages[i];
            }
            EXPECT_EQ(Count(rig.Cable().Texts(), "CreateDeviceInfoList()"), c.searches);
            EXPECT_EQ(dlg.m_tables[0].m_table[255], c.page1Top);
            for (const CDlgTable& page : dlg.m_tables) {
                EXPECT_EQ(page.m_maxValue, c.range);
            }
            const bool online = std::string(c.title) != kOffline;
            EXPECT_EQ(UiDriver::TimerPeriod(dlg, 0), std::string(c.title) == kQp4 ? 1000 : -1);
            EXPECT_EQ(dlg.m_tabCtrl.GetItemCount(), c.range == 65535 ? 12 : online ? 5 : 4);
            CMenu* menu = dlg.GetMenu();
            ASSERT_NE(menu, nullptr);
            EXPECT_EQ((menu->GetMenuState(ID_DEVICE_WRITEALL, MF_BYCOMMAND) & MF_GRAYED) == 0,
                      online);
            if (!c.writeAll) {
                for (const auto& write : rig.Cable().Writes()) {
                    EXPECT_NE(write[0], CMD_WRITE_TABLE_B) << "detection wrote a table";
                }
            }
        });
    }
}
