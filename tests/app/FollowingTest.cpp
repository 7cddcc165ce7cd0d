// The window follows the dimmer after start-up: ports that appear and disappear (reported as the
// port watcher would), a link lost during Write all, a plug that flaps, a dimmer of another range,
// and Device > Search for dimmer.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/ui/CMenu.h"
#include "platform/ui/testing/UiDriver.h"
#include "tests/app/DimmerRig.h"

namespace {

using Kind = PortEvent::Kind;

// Longer than the settling of port events, so that what they start has run.
constexpr int kSettledMs = 700;

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

struct Case {
    const char* name;
    const char* startModel;  // a cable model attached before start-up, or null
    // What happens after start-up, to the window and the dimmer attached at start (or null); may
    // queue message box answers.
    std::function<void(DimmerRig&, CBrenvoDlg&, DimmerEmulator*)> act;
    const char* title;  // after it
    std::vector<std::string> messages;
    int searches;   // cable searches after start-up (one per detection)
    WORD page1Top;  // page 1's last entry afterwards
    WORD range;     // every page's range afterwards
    bool writeAll = false;
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

const char kQp4[] = "Brenvo V2.4 - LED-Dimmer QP4 (4 PowerUnit) Online";
const char kKav[] = "Brenvo V2.4 - LED-Dimmer KAV5806 Online";
const char kOffline[] = "Brenvo V2.4 - Offline";
const char kLost[] = "The connection to the dimmer is lost.";

}  // namespace

TEST(FollowingTest, TheWindowFollowsTheDimmerAndKeepsThePagesTables) {
    const Case cases[] = {
        {"appears while offline",
         nullptr,
         [](DimmerRig& rig, CBrenvoDlg& dlg, DimmerEmulator*) {
             rig.AttachCable("qp4");
             Appear(dlg, "CABLE0");
         },
         kQp4,
         {},
         1,
         1023,
         1023},
        {"appears beside a dimmer in use",
         "qp4",
         [](DimmerRig& rig, CBrenvoDlg& dlg, DimmerEmulator*) {
             rig.AttachSerial("t5qm");
             Appear(dlg, "EMU0");
         },
         kQp4,
         {},
         0,
         1023,
         1023},
        {"disappears while idle",
         "qp4",
         [](DimmerRig& rig, CBrenvoDlg& dlg, DimmerEmulator*) {
             OwnTable(dlg);
             rig.Ui().ExpectMessageBox(IDOK);
             rig.Cable().Unplug();
             Disappear(dlg, "CABLE0");
         },
         kOffline,
         {kLost},
         0,
         77,
         1023},
        {"hangs up without a port event",
         "qp4",
         [](DimmerRig& rig, CBrenvoDlg&, DimmerEmulator*) {
             rig.Ui().ExpectMessageBox(IDOK);
             rig.Cable().Unplug();
         },
         kOffline,
         {kLost},
         0,
         1023,
         1023},
        {"disappears during Write all",
         "qp4",
         [](DimmerRig& rig, CBrenvoDlg& dlg, DimmerEmulator* dimmer) {
             rig.Ui().ExpectMessageBox(IDOK);  // the operation's own, and no other
             OwnTable(dlg);
             dimmer->SetFault(DimmerFault::HangUpMidTransfer);
             Disappear(dlg, "CABLE0");  // taken only once the operation has ended
             ASSERT_TRUE(UiDriver::TriggerMenuItem(dlg, ID_DEVICE_WRITEALL));
         },
         kOffline,
         {"The dimmer did not confirm the table of Output 1."},
         0,
         77,
         1023,
         true},
        {"flaps and ends plugged in",
         nullptr,
         [](DimmerRig& rig, CBrenvoDlg& dlg, DimmerEmulator*) {
             for (int i = 0; i < 10; ++i) {
                 Appear(dlg, "CABLE0");
                 Disappear(dlg, "CABLE0");
             }
             rig.AttachCable("qp4");
             Appear(dlg, "CABLE0");
         },
         kQp4,
         {},
         1,
         1023,
         1023},
        {"another range, tables kept",
         "qp4",
         [](DimmerRig& rig, CBrenvoDlg& dlg, DimmerEmulator*) {
             OwnTable(dlg);
             rig.Ui().ExpectMessageBox(IDOK);
             rig.Cable().Unplug();
             Disappear(dlg, "CABLE0");
             UiDriver::ProcessEventsFor(kSettledMs);
             rig.Ui().ExpectMessageBox(IDNO);
             rig.AttachCable("kav5806");
             Appear(dlg, "CABLE0");
         },
         kKav,
         {kLost, "range"},
         1,
         77,
         65535},
        {"another range, tables reset",
         "qp4",
         [](DimmerRig& rig, CBrenvoDlg& dlg, DimmerEmulator*) {
             OwnTable(dlg);
             rig.Ui().ExpectMessageBox(IDOK);
             rig.Cable().Unplug();
             Disappear(dlg, "CABLE0");
             UiDriver::ProcessEventsFor(kSettledMs);
             rig.Ui().ExpectMessageBox(IDYES);
             rig.AttachCable("kav5806");
             Appear(dlg, "CABLE0");
         },
         kKav,
         {kLost, "range"},
         1,
         65535,
         65535},
        {"the same range again, nothing asked",
         "qp4",
         [](DimmerRig& rig, CBrenvoDlg& dlg, DimmerEmulator*) {
             OwnTable(dlg);
             rig.Ui().ExpectMessageBox(IDOK);
             rig.Cable().Unplug();
             Disappear(dlg, "CABLE0");
             UiDriver::ProcessEventsFor(kSettledMs);
             rig.AttachCable("qp4");
             Appear(dlg, "CABLE0");
         },
         kQp4,
         {kLost},
         1,
         77,
         1023},
        {"searched for on demand",
         nullptr,
         [](DimmerRig& rig, CBrenvoDlg& dlg, DimmerEmulator*) {
             rig.AttachCable("kav5806");
             ASSERT_TRUE(UiDriver::TriggerMenuItem(dlg, ID_DEVICE_SEARCH));
         },
         kKav,
         {},
         1,
         65535,
         65535},
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
            ASSERT_EQ(messages.size(), c.messages.size());
            for (std::size_t i = 0; i < messages.size(); ++i) {
                EXPECT_NE(messages[i].find(c.messages[i]), std::string::npos) << messages[i];
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
