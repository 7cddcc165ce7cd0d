// The window follows the dimmer after start-up: ports that appear, disappear and change (reported
// as the port watcher would), a link lost during Write all or while a dialog is open, a plug that
// flaps, a dimmer of another range, a second dimmer, a cable whose dimmer answers only later,
// Device > Search for dimmer and Device > Choose dimmer.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "app/CDlgChooseDimmer.h"
#include "platform/os/EmulatedPortFolder.h"
#include "platform/ui/CMenu.h"
#include "platform/ui/testing/UiDriver.h"
#include "tests/app/DimmerRig.h"
#include "tests/support/InLanguage.h"
#include "tests/support/TempRuntimeDir.h"

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
    // A cable model attached before start-up, "" for a cable without a dimmer, or null.
    const char* startModel;
    const char* title;     // afterwards
    const char* messages;  // a part of each message box's text, separated by '|'; "" for none
    int searches;          // cable searches after start-up (one per detection)
    WORD page1Top;         // page 1's last entry afterwards
    WORD range;            // every page's range afterwards
    bool writeAll;         // tables were written on purpose
    // What happens after start-up, to the window and the dimmer attached at start (or null); may
    // queue message box answers.
    void (*act)(DimmerRig&, CBrenvoDlg&, DimmerEmulator*);
    void (*setup)(DimmerRig&);               // before start-up, or null
    void (*check)(DimmerRig&, CBrenvoDlg&);  // what else must hold afterwards, or null
};

void Appear(CBrenvoDlg& dlg, const char* name) {
    dlg.NotePortEvent({Kind::Appeared, name});
}
void Disappear(CBrenvoDlg& dlg, const char* name) {
    dlg.NotePortEvent({Kind::Disappeared, name});
}
void Change(CBrenvoDlg& dlg, const char* name) {
    dlg.NotePortEvent({Kind::Changed, name});
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
const char kT5qm[] = "Brenvo V2.4 - Connected to DMX-LED-Dimmer T5QM";
const char kNoDevice[] = "Brenvo V2.4 - (Programming cable found / no device)";
const char kOffline[] = "Brenvo V2.4 - Offline";
const char kLost[] = "The connection to the dimmer is lost.";
const char kNotConfirmed[] = "did not confirm the table of Output 1";
const char kQp4Name[] = "QELVORN LED-Dimmer QP4 V2.0";
// Outcome 1's bound, from the pull to " - Offline" whatever dialog is open.
constexpr int kOfflineBoundMs = 2000;

bool IsOutputLevel(const std::vector<BYTE>& write) {
    return !write.empty() && write[0] >= CMD_SET_OUTPUT && write[0] < CMD_SET_OUTPUT + 12;
}

// Takes the window's events until its title is `title` or `limitMs` have passed.
bool TitleBecomes(CBrenvoDlg& dlg, const std::string& title, int limitMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    while (Title(dlg) != title && std::chrono::steady_clock::now() < end) {
        UiDriver::ProcessEventsFor(20);
    }
    return Title(dlg) == title;
}

// While a dialog is open the cable is pulled out: the window is offline within the bound, with no
// message yet and nothing more sent.
void PullWhileADialogIsOpen(DimmerRig& rig, CBrenvoDlg& dlg) {
    rig.Cable().Unplug();
    const std::size_t writes = rig.Cable().Writes().size();
    const std::size_t told = MessageTexts(rig.Ui()).size();
    EXPECT_TRUE(TitleBecomes(dlg, kOffline, kOfflineBoundMs)) << Title(dlg);
    EXPECT_EQ(MessageTexts(rig.Ui()).size(), told) << "told before the dialog closed";
    UiDriver::ProcessEventsFor(1200);  // a temperature poll's tick
    EXPECT_EQ(rig.Cable().Writes().size(), writes) << "sent after the link was gone";
}

std::string SavedPath() {
    return testing::TempDir() + "brenvo-following-" + std::to_string(getpid()) + ".ini";
}

// What happens after start-up in each case.
void NothingMore(DimmerRig& /*rig*/, CBrenvoDlg& /*dlg*/, DimmerEmulator* /*dimmer*/) {}

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
    rig.Cable().Unplug();  // what hung up is no longer listed when the search after it looks
}

void AppearsDuringWriteAll(DimmerRig& rig, CBrenvoDlg& dlg, DimmerEmulator* dimmer) {
    rig.Ui().ExpectMessageBox(IDOK);  // the operation's own
    dimmer->SetFault(DimmerFault::HangUpMidTransfer);
    rig.AttachSerial("t5qm");
    Appear(dlg, "EMU0");  // taken while the operation runs, acted on once it has ended
    ASSERT_TRUE(UiDriver::TriggerMenuItem(dlg, ID_DEVICE_WRITEALL));
    rig.Cable().Unplug();
}

void FlapsAndEndsPluggedIn(DimmerRig& rig, CBrenvoDlg& dlg, DimmerEmulator* /*dimmer*/) {
    for (int i = 0; i < 10; ++i) {
        Appear(dlg, "CABLE0");
        Disappear(dlg, "CABLE0");
    }
    rig.AttachCable("qp4");
    Appear(dlg, "CABLE0");
}

void AppearsAndGoesWhileOffline(DimmerRig& /*rig*/, CBrenvoDlg& dlg, DimmerEmulator* /*dimmer*/) {
    Appear(dlg, "ttyUSB7");
    Disappear(dlg, "ttyUSB7");
    UiDriver::ProcessEventsFor(kSettledMs);
    Disappear(dlg, "EMU3");  // another port's event settles again
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

// The twelve-output dimmer's window shows outputs 9 to 12 when it goes; a four-output one follows.
void FewerOutputsAfterTheLastRowWasShown(DimmerRig& rig, CBrenvoDlg& dlg,
                                         DimmerEmulator* /*dimmer*/) {
    UiDriver::ClickScrollBar(dlg.m_scrollBar, SB_PAGEDOWN);
    UiDriver::ClickScrollBar(dlg.m_scrollBar, SB_PAGEDOWN);
    ASSERT_EQ(dlg.m_scrollBar.GetScrollPos(), 8);
    rig.Ui().ExpectMessageBox(IDOK);
    rig.Cable().Unplug();
    Disappear(dlg, "CABLE0");
    UiDriver::ProcessEventsFor(kSettledMs);
    rig.AttachCable("qp4");
    Appear(dlg, "CABLE0");
}

void GoneAndNothingFound(DimmerRig& rig, CBrenvoDlg& dlg, DimmerEmulator* /*dimmer*/) {
    UnplugWithOwnTable(rig, dlg);
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

void GoneWhileAFileDialogIsOpen(DimmerRig& rig, CBrenvoDlg& dlg, DimmerEmulator* /*dimmer*/) {
    UiDriver::ProcessEventsFor(1200);  // the temperature fields are filled
    ASSERT_FALSE(dlg.m_strActualTemp.IsEmpty());
    rig.Ui().ExpectFileDialog(SavedPath().c_str(), [&] { PullWhileADialogIsOpen(rig, dlg); });
    rig.Ui().ExpectMessageBox(IDOK);
    ASSERT_TRUE(UiDriver::TriggerMenuItem(dlg, ID_FILE_SAVECONFIG));
}

// The question whether the pages keep their tables is open when the new dimmer goes too.
void GoneWhileTheRangeQuestionIsOpen(DimmerRig& rig, CBrenvoDlg& dlg, DimmerEmulator* /*dimmer*/) {
    UnplugWithOwnTable(rig, dlg);
    rig.Ui().ExpectMessageBox(IDNO, [&] {
        const std::size_t writes = rig.Cable().Writes().size();
        for (CSliderCtrl& slider : dlg.m_sliders) {
            slider.Invalidate();
            slider.UpdateWindow();
        }
        UiDriver::ProcessEvents();
        const auto all = rig.Cable().Writes();
        EXPECT_TRUE(std::none_of(all.begin() + static_cast<long>(writes), all.end(), IsOutputLevel))
            << "a level sent before the range was answered";
        PullWhileADialogIsOpen(rig, dlg);
    });
    rig.Ui().ExpectMessageBox(IDOK);
    rig.AttachCable("kav5806");
    Appear(dlg, "CABLE0");
    UiDriver::ProcessEventsFor(kSettledMs);  // the question comes and goes meanwhile
}

void ASecondDimmerIsThereWhenTheFirstGoes(DimmerRig& rig, CBrenvoDlg& dlg,
                                          DimmerEmulator* /*dimmer*/) {
    rig.Ui().ExpectMessageBox(IDOK);
    rig.Cable().Unplug();
    Disappear(dlg, "CABLE0");
}

void ItsDimmerAnswersLater(DimmerRig& rig, CBrenvoDlg& dlg, DimmerEmulator* /*dimmer*/) {
    UiDriver::ProcessEventsFor(2500);  // asked, and nothing answers yet
    rig.AnswerOnCable("qp4");
    EXPECT_TRUE(TitleBecomes(dlg, kQp4, 3000)) << "not found within 3 s";
}

void TheCableWithoutADimmerGoes(DimmerRig& rig, CBrenvoDlg& dlg, DimmerEmulator* /*dimmer*/) {
    rig.Cable().Unplug();
    Disappear(dlg, "CABLE0");
}

void APortAppearsBesideTheCableWithoutADimmer(DimmerRig& rig, CBrenvoDlg& dlg,
                                              DimmerEmulator* /*dimmer*/) {
    rig.AttachSerial("t5qm");
    Appear(dlg, "EMU0");
}

void ItsRightsArriveLate(DimmerRig& rig, CBrenvoDlg& dlg, DimmerEmulator* /*dimmer*/) {
    Appear(dlg, "EMU0");  // not to be opened yet: searched, and nothing found
    UiDriver::ProcessEventsFor(kSettledMs);
    ASSERT_EQ(Title(dlg), kOffline);
    rig.AttachSerial("t5qm");
    Change(dlg, "EMU0");
}

void SearchedForOnDemand(DimmerRig& rig, CBrenvoDlg& dlg, DimmerEmulator* /*dimmer*/) {
    rig.AttachCable("kav5806");
    ASSERT_TRUE(UiDriver::TriggerMenuItem(dlg, ID_DEVICE_SEARCH));
}

void SearchedForWhileOnline(DimmerRig& /*rig*/, CBrenvoDlg& dlg, DimmerEmulator* /*dimmer*/) {
    UiDriver::Click(*dlg.GetDlgItem(IDC_LOOKUP_8BIT));
    ASSERT_TRUE(UiDriver::TriggerMenuItem(dlg, ID_DEVICE_SEARCH));
}

void AnotherDimmerChosen(DimmerRig& rig, CBrenvoDlg& dlg, DimmerEmulator* /*dimmer*/) {
    rig.Ui().ExpectModal(
        [](CDialog& dialog) {
            auto& choose = static_cast<CDlgChooseDimmer&>(dialog);
            CListCtrl& list = choose.m_listDimmers;
            ASSERT_EQ(list.GetItemCount(), 2);
            EXPECT_EQ(list.GetItemText(0, 0), "in use");
            EXPECT_EQ(list.GetItemText(0, 1), "CABLE0");
            EXPECT_EQ(list.GetItemText(0, 2), "LED-Dimmer QP4 (4 PowerUnit) Online");
            EXPECT_EQ(list.GetItemText(1, 0), "");
            EXPECT_EQ(list.GetItemText(1, 1), "EMU0");
            EXPECT_EQ(list.GetItemText(1, 2), "Connected to DMX-LED-Dimmer T5QM");
            UiDriver::ClickListRow(list, 1);
            UiDriver::Click(*dialog.GetDlgItem(IDOK));
        },
        IDD_CHOOSE_DIMMER);
    ASSERT_TRUE(UiDriver::TriggerMenuItem(dlg, ID_DEVICE_CHOOSE));
}

void ChosenButGoneBeforeUse(DimmerRig& rig, CBrenvoDlg& dlg, DimmerEmulator* /*dimmer*/) {
    rig.Ui().ExpectModal(
        [&rig](CDialog& dialog) {
            UiDriver::ClickListRow(static_cast<CDlgChooseDimmer&>(dialog).m_listDimmers, 1);
            rig.Serial().Detach(193);
            UiDriver::Click(*dialog.GetDlgItem(IDOK));
        },
        IDD_CHOOSE_DIMMER);
    rig.Ui().ExpectMessageBox(IDOK);
    ASSERT_TRUE(UiDriver::TriggerMenuItem(dlg, ID_DEVICE_CHOOSE));
}

void ChosenWithNothingAttached(DimmerRig& rig, CBrenvoDlg& dlg, DimmerEmulator* /*dimmer*/) {
    rig.Ui().ExpectMessageBox(IDOK);  // and no dialog
    ASSERT_TRUE(UiDriver::TriggerMenuItem(dlg, ID_DEVICE_CHOOSE));
}

// Before start-up.
// A second cable with its QP4, listed after the first.
void SecondCableBeside(DimmerRig& rig) {
    rig.AttachCable("qp4");
}
void SerialT5qmBeside(DimmerRig& rig) {
    rig.AttachSerial("t5qm");
}
// The T5QM on EMU0 where the port list finds it too.
void PublishedT5qmBeside(DimmerRig& rig) {
    EmulatedPortFolder(true).Publish("EMU", "/dev/pts/0", nullptr);
    rig.AttachSerial("t5qm");
}

// What else must hold afterwards.
void SavedUnderTheLostDimmersName(DimmerRig& /*rig*/, CBrenvoDlg& dlg) {
    std::ifstream in(SavedPath(), std::ios::binary);
    const std::string saved(std::istreambuf_iterator<char>(in), {});
    std::remove(SavedPath().c_str());
    EXPECT_NE(saved.find(std::string("NAME=") + kQp4Name + "\r\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("[TABLE3]"), std::string::npos);
    EXPECT_TRUE(dlg.m_strDeviceName.IsEmpty()) << "the profile changed once the dialog closed";
}

void TheRowsShowOutputsOneToFour(DimmerRig& rig, CBrenvoDlg& dlg) {
    EXPECT_EQ(dlg.m_scrollBar.GetScrollPos(), 0);
    rig.Cable().ClearLog();
    for (CSliderCtrl& slider : dlg.m_sliders) {
        slider.Invalidate();
        slider.UpdateWindow();
    }
    UiDriver::ProcessEvents();
    for (const auto& write : rig.Cable().Writes()) {
        EXPECT_LT(write[0], CMD_SET_OUTPUT + 4) << "a level for an output the dimmer lacks";
    }
}

void TheLinkWasClosedBeforeTheSearch(DimmerRig& rig, CBrenvoDlg& dlg) {
    const std::vector<std::string> log = rig.Cable().Texts();
    const auto close = std::find(log.begin(), log.end(), "Close()");
    const auto search = std::find(log.begin(), log.end(), "CreateDeviceInfoList()");
    EXPECT_TRUE(close < search) << "the link in use was still open when the search began";
    EXPECT_EQ(dlg.m_sliders[0].GetRangeMax(), 255) << "the 8-bit box is still ticked";
}

void TheChosenDimmerIsInUse(DimmerRig& rig, CBrenvoDlg& /*dlg*/) {
    const std::vector<std::string> log = rig.Cable().Texts();
    EXPECT_EQ(Count(log, "Open(0)"), 0) << "the cable in use was opened again to be listed";
    EXPECT_NE(std::find(log.begin(), log.end(), "Close()"), log.end()) << "the cable was kept";
    EXPECT_TRUE(SerialIsOpen());
}

int TabsFor(const std::string& title) {
    if (title == kKav) {
        return 12;
    }
    if (title.find("T5QM") != std::string::npos) {
        return 9;
    }
    return title == kOffline ? 4 : 5;
}

// Each case on a window of its own, then what must hold afterwards.
void RunCases(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempRuntimeDir runtime;  // no emulated port but the case's own
        DimmerRig rig;
        DimmerEmulator* dimmer = nullptr;
        if (c.startModel) {
            dimmer = rig.AttachCable(*c.startModel ? c.startModel : nullptr);
        }
        if (c.setup) {
            c.setup(rig);
        }
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
            const std::string title = c.title;
            const bool online = title != kOffline;
            EXPECT_EQ(UiDriver::TimerPeriod(dlg, 0),
                      title.rfind(kQp4, 0) == 0 || title == kNoDevice ? 1000 : -1);
            EXPECT_EQ(dlg.m_tabCtrl.GetItemCount(), TabsFor(title));
            if (!online) {
                EXPECT_TRUE(dlg.m_strActualTemp.IsEmpty() && dlg.m_strShutdownTemp.IsEmpty())
                    << "readings of the last dimmer left";
            }
            CMenu* menu = dlg.GetMenu();
            ASSERT_NE(menu, nullptr);
            EXPECT_EQ((menu->GetMenuState(ID_DEVICE_WRITEALL, MF_BYCOMMAND) & MF_GRAYED) == 0,
                      online);
            if (!c.writeAll) {
                for (const auto& write : rig.Cable().Writes()) {
                    EXPECT_NE(write[0], CMD_WRITE_TABLE_B) << "detection wrote a table";
                }
            }
            if (c.check) {
                c.check(rig, dlg);
            }
        });
    }
}

}  // namespace

TEST(FollowingTest, TheWindowFollowsTheDimmerAndKeepsThePagesTables) {
    RunCases({
        {"appears while offline", nullptr, kQp4, "", 1, 1023, 1023, false, AppearsWhileOffline,
         nullptr, nullptr},
        {"appears beside a dimmer in use", "qp4", kQp4, "", 0, 1023, 1023, false,
         AppearsBesideADimmerInUse, nullptr, nullptr},
        {"disappears while idle", "qp4", kOffline, kLost, 1, 77, 1023, false, DisappearsWhileIdle,
         nullptr, nullptr},
        {"hangs up without a port event", "qp4", kOffline, kLost, 1, 1023, 1023, false,
         HangsUpWithoutAPortEvent, nullptr, nullptr},
        {"disappears during Write all", "qp4", kOffline, kNotConfirmed, 1, 77, 1023, true,
         DisappearsDuringWriteAll, nullptr, nullptr},
        {"flaps and ends plugged in", nullptr, kQp4, "", 1, 1023, 1023, false,
         FlapsAndEndsPluggedIn, nullptr, nullptr},
        {"a port that appeared and went while offline: one search at most", nullptr, kOffline, "",
         1, 1023, 1023, false, AppearsAndGoesWhileOffline, nullptr, nullptr},
        {"another range, tables kept", "qp4", kKav, "lost|range", 2, 77, 65535, false,
         AnotherRangeTablesKept, nullptr, nullptr},
        {"another range, tables reset", "qp4", kKav, "lost|range", 2, 65535, 65535, false,
         AnotherRangeTablesReset, nullptr, nullptr},
        {"the same range again, nothing asked", "qp4", kQp4, kLost, 2, 77, 1023, false,
         TheSameRangeAgainNothingAsked, nullptr, nullptr},
        {"appears while a dialog waits for an answer", nullptr, kQp4, "", 1, 1023, 1023, false,
         AppearsWhileADialogWaitsForAnAnswer, nullptr, nullptr},
        {"searched for on demand", nullptr, kKav, "", 1, 65535, 65535, false, SearchedForOnDemand,
         nullptr, nullptr},
    });
}

TEST(FollowingTest, TheLinkInUseGoesAtOnceWhateverIsOpenAndTheNextDimmerIsFound) {
    RunCases({
        {"gone while a file dialog is open", "qp4", kOffline, kLost, 1, 1023, 1023, false,
         GoneWhileAFileDialogIsOpen, nullptr, SavedUnderTheLostDimmersName},
        {"gone while the range question is open", "qp4", kOffline, "lost|range|lost", 3, 77, 65535,
         false, GoneWhileTheRangeQuestionIsOpen, nullptr, nullptr},
        {"a second dimmer is there when the first goes", "qp4", kT5qm, kLost, 1, 65535, 65535,
         false, ASecondDimmerIsThereWhenTheFirstGoes, SerialT5qmBeside, nullptr},
        {"a port appears during Write all: one search when it ends", "qp4", kT5qm, kNotConfirmed, 1,
         65535, 65535, true, AppearsDuringWriteAll, nullptr, nullptr},
        {"fewer outputs after the last row was shown", "kav5806", kQp4, kLost, 2, 1023, 1023, false,
         FewerOutputsAfterTheLastRowWasShown, nullptr, TheRowsShowOutputsOneToFour},
        {"gone and nothing found: the pages keep their range", "kav5806", kOffline, kLost, 1, 77,
         65535, false, GoneAndNothingFound, nullptr, nullptr},
    });
}

TEST(FollowingTest, ACableWithoutADimmerPortsThatChangeAndTheDimmerChosen) {
    static const std::string t5qmOnEmu0 = std::string(kT5qm) + " on EMU0";
    static const std::string qp4OnCable0 = std::string(kQp4) + " on CABLE0";
    RunCases({
        {"a cable whose dimmer answers only later", "", kQp4, "", 0, 1023, 1023, false,
         ItsDimmerAnswersLater, nullptr, nullptr},
        {"a cable without a dimmer goes: no dimmer lost", "", kOffline, "", 1, 511, 511, false,
         TheCableWithoutADimmerGoes, nullptr, nullptr},
        {"a port appears beside a cable without a dimmer", "", kNoDevice, "", 1, 511, 511, false,
         APortAppearsBesideTheCableWithoutADimmer, nullptr, nullptr},
        {"a port whose access rights arrive after the search", nullptr, kT5qm, "", 2, 65535, 65535,
         false, ItsRightsArriveLate, nullptr, nullptr},
        {"searched for while online: the link is closed first", "qp4", kQp4, "", 1, 1023, 1023,
         false, SearchedForWhileOnline, nullptr, TheLinkWasClosedBeforeTheSearch},
        {"another dimmer chosen", "qp4", t5qmOnEmu0.c_str(), "", 1, 65535, 65535, false,
         AnotherDimmerChosen, PublishedT5qmBeside, TheChosenDimmerIsInUse},
        {"a dimmer chosen that no longer answers: searched as usual", "qp4", qp4OnCable0.c_str(),
         "does not answer", 2, 1023, 1023, false, ChosenButGoneBeforeUse, PublishedT5qmBeside,
         nullptr},
        {"choose with nothing attached", nullptr, kOffline, "No dimmer answers", 1, 1023, 1023,
         false, ChosenWithNothingAttached, nullptr, nullptr},
        {"two cables at start-up: the title names the one in use", "qp4", qp4OnCable0.c_str(), "",
         0, 1023, 1023, false, NothingMore, SecondCableBeside, nullptr},
    });
}

// Brenvo's own parts of the title are said in the user's language; a model's name is data.
TEST(FollowingTest, TheTitlesPortAndStateAreSaidInTheUsersLanguage) {
    const InLanguage german("de");
    std::string port = ShownText(" on %s");
    port.replace(port.find("%s"), 2, "CABLE0");
    const std::string title = std::string(kQp4) + port;
    const std::string noDevice = std::string(kNoDevice).substr(std::strlen("Brenvo V2.4"));
    ASSERT_NE(ShownText(noDevice), noDevice);
    RunCases({{"two cables at start-up", "qp4", title.c_str(), "", 0, 1023, 1023, false,
               NothingMore, SecondCableBeside, nullptr}});
    TempRuntimeDir runtime;
    DimmerRig rig;
    rig.AttachCable(nullptr);
    rig.Run([&](CBrenvoDlg& dlg) { EXPECT_EQ(Title(dlg), "Brenvo V2.4" + ShownText(noDevice)); });
}
