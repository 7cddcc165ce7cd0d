// A misbehaving dimmer (each of the emulator's fault modes) against every operation that talks to
// it, on the cable (a QP4) and on a serial port (a T5QM): each ends within a bounded wait, says
// what happened, never leaves a page with part of a table, and leaves a window that still answers.
#include <gtest/gtest.h>

#include <cstdio>
#include <numeric>
#include <string>
#include <vector>

#include "link/ModelProfiles.h"
#include "platform/ui/testing/UiDriver.h"
#include "tests/app/DimmerRig.h"
#include "tests/support/TempRuntimeDir.h"

namespace {

using F = DimmerFault;

enum class Op { Detect, PageRead, PageWrite, ReadAll, WriteAll, Temperature, StandAlone };
enum Link { Cable, Serial };

// What arrived: Detect: 1 when the model was identified (with its title and profile, else those of
// its link without a dimmer); reads and writes: the tables that arrived
// on the pages or in the dimmer; Temperature: the readings (of five) that show the dimmer's value;
// StandAlone: the EEPROM bytes stored.
constexpr int kNoise = -1;  // every page read holds a whole reply that is not the dimmer's table

struct Cell {
    Op op;
    Link link;
    DimmerFault fault;
    int arrived;
    const char* message;  // the start of the one message box shown, or null
    int beeps;            // short-read beeps
    DWORD maxPauseMs;
};

const char kLost[] = "The connection to the dimmer is lost.";
const char kNotConfirmed1[] = "The dimmer did not confirm the table of Output 1.";
const char kNotConfirmedLost1[] =
    "The dimmer did not confirm the table of Output 1.\nThe connection to the dimmer is lost.";

// A good cable write pauses 1.3 s (1.2 s and probes); an unconfirmed one gives up after 3 s of
// probing. A serial write pauses 1 s. The serial scan pauses 5 ms per port.
const Cell kCells[] = {
    {Op::Detect, Cable, F::Silent, 0, nullptr, 0, 0},
    {Op::Detect, Cable, F::ShortReplies, 1, nullptr, 0, 0},  // only the closing zero is missing
    {Op::Detect, Cable, F::Garbage, 0, nullptr, 0, 0},
    {Op::Detect, Cable, F::LateReplies, 0, nullptr, 0, 0},
    {Op::Detect, Cable, F::NeverConfirm, 1, nullptr, 0, 0},
    {Op::Detect, Cable, F::HangUpMidTransfer, 1, nullptr, 0, 0},
    {Op::Detect, Serial, F::Silent, 0, nullptr, 0, 1280},
    {Op::Detect, Serial, F::ShortReplies, 1, nullptr, 0, 1280},
    {Op::Detect, Serial, F::Garbage, 0, nullptr, 0, 1280},
    {Op::Detect, Serial, F::LateReplies, 0, nullptr, 0, 1280},
    {Op::Detect, Serial, F::NeverConfirm, 1, nullptr, 0, 1280},
    {Op::Detect, Serial, F::HangUpMidTransfer, 1, nullptr, 0, 1280},

    {Op::PageRead, Cable, F::Silent, 0, nullptr, 1, 100},
    {Op::PageRead, Cable, F::ShortReplies, 0, nullptr, 1, 100},
    {Op::PageRead, Cable, F::Garbage, kNoise, nullptr, 0, 100},
    {Op::PageRead, Cable, F::LateReplies, 0, nullptr, 1, 100},
    {Op::PageRead, Cable, F::NeverConfirm, 1, nullptr, 0, 100},
    {Op::PageRead, Cable, F::HangUpMidTransfer, 0, kLost, 1, 100},
    {Op::PageRead, Serial, F::Silent, 0, nullptr, 1, 1},
    {Op::PageRead, Serial, F::ShortReplies, 0, nullptr, 1, 1},
    {Op::PageRead, Serial, F::Garbage, kNoise, nullptr, 0, 1},
    {Op::PageRead, Serial, F::LateReplies, 0, nullptr, 1, 1},
    {Op::PageRead, Serial, F::NeverConfirm, 1, nullptr, 0, 1},
    {Op::PageRead, Serial, F::HangUpMidTransfer, 0, kLost, 1, 1},

    {Op::PageWrite, Cable, F::Silent, 1, kNotConfirmed1, 0, 4300},
    {Op::PageWrite, Cable, F::ShortReplies, 1, nullptr, 0, 1300},
    {Op::PageWrite, Cable, F::Garbage, 1, nullptr, 0, 1300},
    {Op::PageWrite, Cable, F::LateReplies, 1, nullptr, 0, 1400},
    {Op::PageWrite, Cable, F::NeverConfirm, 1, kNotConfirmed1, 0, 4300},
    {Op::PageWrite, Cable, F::HangUpMidTransfer, 0, kNotConfirmedLost1, 0, 0},
    {Op::PageWrite, Serial, F::Silent, 1, nullptr, 0, 1000},
    {Op::PageWrite, Serial, F::ShortReplies, 1, nullptr, 0, 1000},
    {Op::PageWrite, Serial, F::Garbage, 1, nullptr, 0, 1000},
    {Op::PageWrite, Serial, F::LateReplies, 1, nullptr, 0, 1000},
    {Op::PageWrite, Serial, F::NeverConfirm, 1, nullptr, 0, 1000},
    {Op::PageWrite, Serial, F::HangUpMidTransfer, 0, kNotConfirmedLost1, 0, 0},

    {Op::ReadAll, Cable, F::Silent, 0, nullptr, 4, 400},
    {Op::ReadAll, Cable, F::ShortReplies, 0, nullptr, 4, 400},
    {Op::ReadAll, Cable, F::Garbage, kNoise, nullptr, 0, 400},
    {Op::ReadAll, Cable, F::LateReplies, 0, nullptr, 4, 400},
    {Op::ReadAll, Cable, F::NeverConfirm, 4, nullptr, 0, 400},
    {Op::ReadAll, Cable, F::HangUpMidTransfer, 0, kLost, 1, 100},
    {Op::ReadAll, Serial, F::Silent, 0, nullptr, 9, 9},
    {Op::ReadAll, Serial, F::ShortReplies, 0, nullptr, 9, 9},
    {Op::ReadAll, Serial, F::Garbage, kNoise, nullptr, 0, 9},
    {Op::ReadAll, Serial, F::LateReplies, 0, nullptr, 9, 9},
    {Op::ReadAll, Serial, F::NeverConfirm, 9, nullptr, 0, 9},
    {Op::ReadAll, Serial, F::HangUpMidTransfer, 0, kLost, 1, 1},

    {Op::WriteAll, Cable, F::Silent, 1, kNotConfirmed1, 0, 4300},
    {Op::WriteAll, Cable, F::ShortReplies, 4, nullptr, 0, 4 * 1300},
    {Op::WriteAll, Cable, F::Garbage, 4, nullptr, 0, 4 * 1300},
    {Op::WriteAll, Cable, F::LateReplies, 4, nullptr, 0, 4 * 1400},
    {Op::WriteAll, Cable, F::NeverConfirm, 1, kNotConfirmed1, 0, 4300},
    {Op::WriteAll, Cable, F::HangUpMidTransfer, 0, kNotConfirmedLost1, 0, 0},
    {Op::WriteAll, Serial, F::Silent, 9, nullptr, 0, 9000},
    {Op::WriteAll, Serial, F::ShortReplies, 9, nullptr, 0, 9000},
    {Op::WriteAll, Serial, F::Garbage, 9, nullptr, 0, 9000},
    {Op::WriteAll, Serial, F::LateReplies, 9, nullptr, 0, 9000},
    {Op::WriteAll, Serial, F::NeverConfirm, 9, nullptr, 0, 9000},
    {Op::WriteAll, Serial, F::HangUpMidTransfer, 0, kNotConfirmedLost1, 0, 0},

    // Four actual readings and the shut-down reading, one tick.
    {Op::Temperature, Cable, F::Silent, 0, nullptr, 0, 0},
    {Op::Temperature, Cable, F::ShortReplies, 3, nullptr, 0, 0},
    {Op::Temperature, Cable, F::Garbage, 0, nullptr, 0, 0},
    {Op::Temperature, Cable, F::LateReplies, 0, nullptr, 0, 0},
    {Op::Temperature, Cable, F::NeverConfirm, 5, nullptr, 0, 0},
    {Op::Temperature, Cable, F::HangUpMidTransfer, 0, nullptr, 0, 0},  // link gone before

    // The EEPROM takes its bytes unanswered: only a link that is gone stops it.
    {Op::StandAlone, Cable, F::Silent, 3, nullptr, 0, 30},
    {Op::StandAlone, Cable, F::ShortReplies, 3, nullptr, 0, 30},
    {Op::StandAlone, Cable, F::Garbage, 3, nullptr, 0, 30},
    {Op::StandAlone, Cable, F::LateReplies, 3, nullptr, 0, 30},
    {Op::StandAlone, Cable, F::NeverConfirm, 3, nullptr, 0, 30},
    {Op::StandAlone, Cable, F::HangUpMidTransfer, 0, kLost, 0, 0},  // link gone before
};

// What detection makes of each link, without (0) and with (1) the dimmer identified.
struct Profile {
    const char* title;
    int outputs, maxValue;
    BYTE writeCommand;
    int tempReplyLength;  // 0: not polled
};
const Profile kDetected[2][2] = {
    {{" - (Programming cable found / no device)", 4, 511, CMD_WRITE_TABLE_A, 1},
     {" - LED-Dimmer QP4 (4 PowerUnit) Online", 4, 1023, CMD_WRITE_TABLE_B, 8}},
    {{" - Offline", 4, 1023, 0, 0},
     {" - Connected to DMX-LED-Dimmer T5QM", 9, 65535, CMD_WRITE_TABLE_B, 0}},
};

void SetPage(CDlgTable& page, const Table& table) {
    std::copy(table.begin(), table.end(), std::begin(page.m_table));
}

std::string Field(CBrenvoDlg& dlg, int id) {
    CString text;
    dlg.GetDlgItem(id)->GetWindowText(text);
    return text.GetString();
}

// The five readings of a four-reading dimmer: the actual ones, then the shut-down one.
std::vector<std::string> Readings(CBrenvoDlg& dlg) {
    std::string all = Field(dlg, IDC_ACTUAL_TEMP) + " / " + Field(dlg, IDC_SHUTDOWN_TEMP);
    std::vector<std::string> readings;
    for (std::size_t at = 0, end = 0; end != std::string::npos; at = end + 3) {
        end = all.find(" / ", at);
        readings.push_back(all.substr(at, end - at));
    }
    return readings;
}

int Beeps(RecordingTimeService& time) {
    int beeps = 0;
    for (const RecordingTimeService::Event& e : time.Events()) {
        beeps += e.kind == RecordingTimeService::Event::BeepSound && e.a == 100 ? 1 : 0;
    }
    return beeps;
}

// One cell: the rig with its dimmer, the pages' and the dimmer's tables apart, and a StandAlone
// file of three bytes.
class FaultCell {
public:
    explicit FaultCell(const Cell& cell) : c(cell) {
        dimmer = c.link == Cable ? rig.AttachCable("qp4") : rig.AttachSerial("t5qm");
        outputs = dimmer->Model().outputs;
        for (int k = 0; k < outputs; ++k) {
            dimmer->SetTable(k, Pattern(k + 1));
        }
        if (c.op == Op::Detect) {
            dimmer->SetFault(c.fault);
        }
        file = m_folder.Path() + "/scene.hex";
        FILE* f = std::fopen(file.c_str(), "wb");
        std::fputs("0000:11\r\n0001:22\r\n0002:33\r\n", f);
        std::fclose(f);
    }

    // The number of things that arrived (see Cell::arrived).
    int Run(CBrenvoDlg& dlg) {
        CDlgTable& page = dlg.m_tables[0];
        std::vector<Table> before;
        for (int k = 0; k < outputs; ++k) {
            SetPage(dlg.m_tables[k], Pattern(20 + k));
            before.push_back(Pattern(20 + k));
        }
        std::vector<std::string> truth;
        if (c.op == Op::Temperature) {
            dlg.SendMessage(WM_TIMER, 0, 0);
            truth = Readings(dlg);
            UiDriver::Click(*dlg.GetDlgItem(IDC_TEMP_READ));
        }
        if (c.op != Op::Detect) {
            dimmer->SetFault(c.fault);
        }
        if (c.fault == F::HangUpMidTransfer &&
            (c.op == Op::Temperature || c.op == Op::StandAlone)) {
            rig.Ui().ExpectMessageBox(IDOK);  // these meet a link that a table read broke off
            UiDriver::Click(*page.GetDlgItem(IDC_TABLE_READ));
        }
        rig.Time().Clear();
        callsBefore = rig.Ui().CallsOf(ScriptedUi::Kind::MessageBox).size();
        if (c.op == Op::StandAlone) {
            rig.Ui().ExpectFileDialog(file.c_str());
        }
        if (c.message) {
            rig.Ui().ExpectMessageBox(IDOK);
        }
        switch (c.op) {
            case Op::Detect:
                return Detected(dlg);
            case Op::PageRead:
                UiDriver::Click(*page.GetDlgItem(IDC_TABLE_READ));
                return ArrivedOnPages(dlg, before, 1);
            case Op::ReadAll:
                UiDriver::TriggerMenuItem(dlg, ID_DEVICE_READALL);
                return ArrivedOnPages(dlg, before, outputs);
            case Op::PageWrite:
                UiDriver::Click(*page.GetDlgItem(IDC_TABLE_WRITE));
                return ArrivedInDimmer(dlg);
            case Op::WriteAll:
                UiDriver::TriggerMenuItem(dlg, ID_DEVICE_WRITEALL);
                return ArrivedInDimmer(dlg);
            case Op::Temperature: {
                dlg.SendMessage(WM_TIMER, 0, 0);
                const std::vector<std::string> shown = Readings(dlg);
                int same = 0;
                for (std::size_t i = 0; i < truth.size() && i < shown.size(); ++i) {
                    same += shown[i] == truth[i] ? 1 : 0;
                }
                return same;
            }
            case Op::StandAlone:
                UiDriver::Click(*dlg.m_standAlone.GetDlgItem(IDC_WRITE_HEX));
                return static_cast<int>(dimmer->Snapshot().eepromBytes);
        }
        return 0;
    }

    int Detected(CBrenvoDlg& dlg) {
        const int named = dlg.m_strDeviceName == dimmer->Model().identifyText ||
                          (c.link == Serial && dlg.m_strDeviceName == SERIAL_MODEL_T5QM);
        const Profile& p = kDetected[c.link][named];
        CString title;
        dlg.GetWindowText(title);
        EXPECT_EQ(title.GetString(), std::string("Brenvo V2.4") + p.title);
        EXPECT_EQ(dlg.m_nOutputs, p.outputs);
        EXPECT_EQ(dlg.m_nMaxValue, p.maxValue);
        EXPECT_EQ(dlg.m_tables[0].m_writeCommand, p.writeCommand);
        EXPECT_EQ(dlg.m_nTempReplyLength, p.tempReplyLength);
        return named;
    }

    // A page holds its own table or the dimmer's whole one; anything else (part of a table, or
    // noise) must come from a reply that was noise from end to end.
    int ArrivedOnPages(CBrenvoDlg& dlg, const std::vector<Table>& before, int n) {
        int arrived = 0;
        int noise = 0;
        const DimmerSnapshot s = dimmer->Snapshot();
        for (std::size_t k = 0; k < static_cast<std::size_t>(n); ++k) {
            const Table got = PageTable(dlg.m_tables[k]);
            arrived += got == s.tables[k] ? 1 : 0;
            noise += got != s.tables[k] && got != before[k] ? 1 : 0;
        }
        EXPECT_TRUE(noise == 0 || noise == n) << noise << " pages of " << n;
        return noise > 0 ? kNoise : arrived;
    }

    int ArrivedInDimmer(CBrenvoDlg& dlg) {
        int arrived = 0;
        const DimmerSnapshot s = dimmer->Snapshot();
        for (int k = 0; k < outputs; ++k) {
            arrived += s.tables[static_cast<std::size_t>(k)] == PageTable(dlg.m_tables[k]) ? 1 : 0;
            EXPECT_EQ(PageTable(dlg.m_tables[k]), Pattern(20 + k)) << "a write keeps the page";
        }
        return arrived;
    }

    std::vector<std::string> Messages() {
        const std::vector<std::string> texts = MessageTexts(rig.Ui());
        return std::vector<std::string>(texts.begin() + static_cast<long>(callsBefore),
                                        texts.end());
    }

    const Cell& c;
    DimmerRig rig;
    DimmerEmulator* dimmer = nullptr;
    int outputs = 0;
    std::string file;
    std::size_t callsBefore = 0;

private:
    TempRuntimeDir m_folder;
};

const char* Name(Op op) {
    const char* names[] = {"detect",    "page read",   "page write", "read all",
                           "write all", "temperature", "standalone"};
    return names[static_cast<int>(op)];
}

}  // namespace

TEST(FaultsTest, EveryOperationMeetsEveryFaultBoundedClearAndWithWholeTables) {
    for (const Cell& c : kCells) {
        SCOPED_TRACE(std::string(Name(c.op)) + (c.link == Cable ? ", cable, " : ", serial, ") +
                     DimmerEmulator::FaultName(c.fault));
        FaultCell cell(c);
        cell.rig.Run([&](CBrenvoDlg& dlg) {
            dlg.KillTimer(0);  // the test ticks itself
            EXPECT_EQ(cell.Run(dlg), c.arrived);
            const std::vector<std::string> messages = cell.Messages();
            EXPECT_EQ(messages.size(), c.message ? 1u : 0u);
            if (c.message && !messages.empty()) {
                EXPECT_EQ(messages[0].rfind(c.message, 0), 0u) << messages[0];
            }
            EXPECT_EQ(Beeps(cell.rig.Time()), c.beeps);
            EXPECT_LE(TotalPause(cell.rig.Time()), c.maxPauseMs);

            // The window goes on: with the dimmer well again, a page's Read brings its table, or,
            // on a link that hung up, ends at once and says so.
            ASSERT_FALSE(dlg.IsEnded());
            const bool lost = c.fault == F::HangUpMidTransfer && c.op != Op::Detect;
            const bool link = c.link == Cable || c.op != Op::Detect || c.arrived == 1;
            cell.dimmer->SetFault(F::None);
            cell.dimmer->SetTable(0, Pattern(50));
            cell.rig.Time().Clear();
            if (lost) {
                cell.rig.Ui().ExpectMessageBox(IDOK);
            }
            UiDriver::Click(*dlg.m_tables[0].GetDlgItem(IDC_TABLE_READ));
            EXPECT_EQ(PageTable(dlg.m_tables[0]) == Pattern(50), link && !lost);
            EXPECT_EQ(Beeps(cell.rig.Time()), lost ? 1 : 0);
            if (lost) {
                EXPECT_TRUE(cell.rig.Time().Pauses().empty());
            }
        });
    }
}
