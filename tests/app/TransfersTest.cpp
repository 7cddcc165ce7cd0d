// The Device menu's Read all, Write all and Reset all against emulated dimmers: what reaches the
// dimmer, what the pages hold afterwards, the progress bar, and the faults that end a bulk write.
#include <gtest/gtest.h>

#include <QProgressBar>
#include <numeric>
#include <string>
#include <vector>

#include "platform/ui/CBusyScope.h"
#include "platform/ui/qt/WindowLink.h"
#include "platform/ui/testing/UiDriver.h"
#include "tests/app/DimmerRig.h"

namespace {

void FillPage(CDlgTable& page, WORD value) {
    std::fill(std::begin(page.m_table), std::end(page.m_table), value);
}

// Notes, at every pause, where the progress bar stands; pauses go on to the rig's service.
class ProgressAtPauses final : public TimeService {
public:
    ProgressAtPauses(RecordingTimeService& inner, CProgressCtrl& bar) : m_inner(inner), m_bar(bar) {
        SetTimeService(this);
    }
    ~ProgressAtPauses() override { SetTimeService(&m_inner); }
    void Sleep(DWORD ms) override {
        if (positions.empty() || positions.back() != m_bar.GetPos()) {
            positions.push_back(m_bar.GetPos());
        }
        m_bar.GetRange(lower, upper);
        busy = busy && CBusyScope::IsActive();
        m_inner.Sleep(ms);
    }
    void Beep(DWORD frequency, DWORD durationMs) override { m_inner.Beep(frequency, durationMs); }
    LONGLONG Counter() override { return m_inner.Counter(); }
    LONGLONG Frequency() override { return m_inner.Frequency(); }

    std::vector<int> positions;  // changes only
    int lower = -1, upper = -1;
    bool busy = true;

private:
    RecordingTimeService& m_inner;
    CProgressCtrl& m_bar;
};

}  // namespace

TEST(TransfersTest, ResetAllWritesTheLinearCurveOfTheRangeToEveryOutput) {
    struct Case {
        const char* model;
        int outputs;
        std::vector<WORD> atInputs0_1_2_128_255;
    } cases[] = {
        {"qp4", 4, {0, 4, 8, 513, 1023}},
        {"qp1", 4, {0, 2, 4, 256, 511}},
        {"kav5806", 12, {0, 257, 514, 32896, 65535}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        DimmerRig rig;
        DimmerEmulator* dimmer = rig.AttachCable(c.model);
        rig.Run([&](CBrenvoDlg& dlg) {
            for (CDlgTable& page : dlg.m_tables) {
                FillPage(page, 7);
            }
            ASSERT_TRUE(UiDriver::TriggerMenuItem(dlg, ID_DEVICE_RESETALL));
            const DimmerSnapshot s = dimmer->Snapshot();
            for (int k = 0; k < CBrenvoDlg::MAX_OUTPUTS; ++k) {
                const CDlgTable& page = dlg.m_tables[k];
                if (k >= c.outputs) {
                    EXPECT_EQ(page.m_table[255], 7) << "page " << k + 1 << " untouched";
                    EXPECT_EQ(s.tableWrites[static_cast<std::size_t>(k)], 0u);
                    continue;
                }
                const std::vector<WORD> got = {page.m_table[0], page.m_table[1], page.m_table[2],
                                               page.m_table[128], page.m_table[255]};
                EXPECT_EQ(got, c.atInputs0_1_2_128_255) << "page " << k + 1;
                EXPECT_EQ(s.tableWrites[static_cast<std::size_t>(k)], 1u);
                EXPECT_EQ(s.tables[static_cast<std::size_t>(k)], PageTable(page));
            }
            EXPECT_TRUE(MessageTexts(rig.Ui()).empty());
        });
    }
}

TEST(TransfersTest, ReadAllReadsTheModelsPagesInOrderAndNoOthers) {
    DimmerRig rig;
    DimmerEmulator* dimmer = rig.AttachCable("qp4");
    for (int k = 0; k < 4; ++k) {
        dimmer->SetTable(k, Pattern(k + 1));
    }
    rig.Run([&](CBrenvoDlg& dlg) {
        for (CDlgTable& page : dlg.m_tables) {
            FillPage(page, 7);
        }
        rig.Cable().ClearLog();
        ASSERT_TRUE(UiDriver::TriggerMenuItem(dlg, ID_DEVICE_READALL));
        EXPECT_EQ(rig.Cable().Writes(), (std::vector<std::vector<BYTE>>{{CMD_READ_TABLE, 0},
                                                                        {CMD_READ_TABLE, 1},
                                                                        {CMD_READ_TABLE, 2},
                                                                        {CMD_READ_TABLE, 3}}));
        for (int k = 0; k < CBrenvoDlg::MAX_OUTPUTS; ++k) {
            if (k < 4) {
                EXPECT_EQ(PageTable(dlg.m_tables[k]), Pattern(k + 1)) << "page " << k + 1;
            } else {
                EXPECT_EQ(dlg.m_tables[k].m_table[0], 7) << "page " << k + 1;
            }
        }
    });
}

TEST(TransfersTest, WriteAllMovesTheProgressBarThroughEveryPosition) {
    struct Case {
        const char* model;
        int outputs;
        std::vector<int> changes;  // every position the bar takes, in order
    } cases[] = {
        {"qp4", 4, {1, 2, 3, 4, 5, 0}},  // positions 6 to 12 leave the bar full
        {"kav5806", 12, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        DimmerRig rig;
        DimmerEmulator* dimmer = rig.AttachCable(c.model);
        rig.Run([&](CBrenvoDlg& dlg) {
            auto* bar = WidgetAs<QProgressBar>(dlg.m_progress);
            ASSERT_NE(bar, nullptr);
            std::vector<int> changes;
            QObject::connect(bar, &QProgressBar::valueChanged,
                             [&](int v) { changes.push_back(v); });
            std::vector<int> duringWrites;
            {
                ProgressAtPauses watch(rig.Time(), dlg.m_progress);
                ASSERT_TRUE(UiDriver::TriggerMenuItem(dlg, ID_DEVICE_WRITEALL));
                EXPECT_EQ(watch.lower, 0);
                EXPECT_EQ(watch.upper, c.outputs + 1);
                EXPECT_TRUE(watch.busy) << "every pause inside the busy scope";
                duringWrites = watch.positions;
            }
            EXPECT_EQ(changes, c.changes);
            std::vector<int> expected(static_cast<std::size_t>(c.outputs));
            std::iota(expected.begin(), expected.end(), 1);
            EXPECT_EQ(duringWrites, expected) << "output k is written at position k";
            for (int k = 0; k < c.outputs; ++k) {
                EXPECT_EQ(dimmer->Snapshot().tables[static_cast<std::size_t>(k)],
                          PageTable(dlg.m_tables[k]));
            }
            EXPECT_FALSE(CBusyScope::IsActive());
        });
    }
}

// Sets a fault on the dimmer once it has stored `tables` tables (at the store pause of the last
// one), so that the next table is the first to meet it.
class FaultAfterTables final : public TimeService {
public:
    FaultAfterTables(RecordingTimeService& inner, DimmerEmulator& dimmer, DimmerFault fault,
                     int tables)
        : m_inner(inner), m_dimmer(dimmer), m_fault(fault), m_left(tables) {
        SetTimeService(this);
        if (m_left == 0) {
            m_dimmer.SetFault(m_fault);
        }
    }
    ~FaultAfterTables() override { SetTimeService(&m_inner); }
    void Sleep(DWORD ms) override {
        if (ms == TABLE_STORE_PAUSE_MS && m_left > 0 && --m_left == 0) {
            m_dimmer.SetFault(m_fault);
        }
        m_inner.Sleep(ms);
    }
    void Beep(DWORD frequency, DWORD durationMs) override { m_inner.Beep(frequency, durationMs); }
    LONGLONG Counter() override { return m_inner.Counter(); }
    LONGLONG Frequency() override { return m_inner.Frequency(); }

private:
    RecordingTimeService& m_inner;
    DimmerEmulator& m_dimmer;
    DimmerFault m_fault;
    int m_left;
};

// A dimmer that stops confirming, or hangs up, ends Write all and Reset all at that output, soon,
// with one message that says which outputs were written; the pages keep their tables.
TEST(TransfersTest, AFaultEndsTheBulkWriteAtItsOutputWithOneMessage) {
    struct Case {
        const char* name;
        DimmerFault fault;
        UINT command;
        int tablesBeforeFault;
        DWORD maxPauseMs;  // a good write takes 1.4 s; an unconfirmed one 1.2 s + 3 s
        const char* message;
    } cases[] = {
        {"no confirm of the last, write all", DimmerFault::NeverConfirm, ID_DEVICE_WRITEALL, 3,
         4200 + 4200,
         "The dimmer did not confirm the table of Output 4.\n\n"
         "Written: Output 1 to 3.\nNot confirmed: Output 4."},
        {"hang-up, write all", DimmerFault::HangUpMidTransfer, ID_DEVICE_WRITEALL, 1, 1400,
         "The dimmer did not confirm the table of Output 2.\nThe connection to the dimmer is "
         "lost.\n\nWritten: Output 1.\nNot confirmed: Output 2.\nNot written: Output 3 to 4."},
        {"hang-up, reset all", DimmerFault::HangUpMidTransfer, ID_DEVICE_RESETALL, 0, 0,
         "The dimmer did not confirm the table of Output 1.\nThe connection to the dimmer is "
         "lost.\n\nWritten: none.\nNot confirmed: Output 1.\nNot written: Output 2 to 4."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DimmerRig rig;
        DimmerEmulator* dimmer = rig.AttachCable("qp4");
        rig.Run([&](CBrenvoDlg& dlg) {
            for (int k = 0; k < 4; ++k) {
                dlg.m_tables[k].m_table[9] = static_cast<WORD>(100 + k);
            }
            rig.Time().Clear();
            rig.Ui().ExpectMessageBox(IDOK);
            {
                FaultAfterTables fault(rig.Time(), *dimmer, c.fault, c.tablesBeforeFault);
                ASSERT_TRUE(UiDriver::TriggerMenuItem(dlg, c.command));
            }
            EXPECT_EQ(MessageTexts(rig.Ui()), std::vector<std::string>{c.message});
            EXPECT_LE(TotalPause(rig.Time()), c.maxPauseMs);
            const DimmerSnapshot s = dimmer->Snapshot();
            for (int k = 0; k < 4; ++k) {
                const bool written = k < c.tablesBeforeFault;
                EXPECT_EQ(
                    s.tableWrites[static_cast<std::size_t>(k)] > 0,
                    written || (k == c.tablesBeforeFault && c.fault == DimmerFault::NeverConfirm))
                    << "output " << k + 1;
                if (c.command == ID_DEVICE_WRITEALL) {
                    EXPECT_EQ(dlg.m_tables[k].m_table[9], 100 + k) << "page " << k + 1;
                }
            }
            EXPECT_EQ(dlg.m_progress.GetPos(), 0);
            EXPECT_FALSE(CBusyScope::IsActive());
            if (c.fault != DimmerFault::HangUpMidTransfer) {
                return;
            }
            // The link is gone for the run: Read all stops after page 1's short read (its beep),
            // with nothing sent and nothing waited.
            rig.Time().Clear();
            rig.Cable().ClearLog();
            const Table before = PageTable(dlg.m_tables[0]);
            rig.Ui().ExpectMessageBox(IDOK);
            ASSERT_TRUE(UiDriver::TriggerMenuItem(dlg, ID_DEVICE_READALL));
            EXPECT_EQ(PageTable(dlg.m_tables[0]), before);
            EXPECT_EQ(rig.Time().Events(),
                      (std::vector<RecordingTimeService::Event>{
                          {RecordingTimeService::Event::BeepSound, 100, 100}}));
            EXPECT_TRUE(rig.Cable().Writes().empty());
            EXPECT_EQ(MessageTexts(rig.Ui()).back(), "The connection to the dimmer is lost.");
        });
    }
}
