#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#include <fstream>
#include <functional>
#include <sstream>
#include <vector>

#include "platform/ui/testing/UiDriver.h"
#include "tables/CDlgTable.h"
#include "tests/support/TempRuntimeDir.h"
#include "tests/tables/PageHost.h"

namespace {

using Table = std::vector<WORD>;

Table Entries(const CDlgTable& page) {
    return Table(page.m_table, page.m_table + TABLE_SIZE);
}

std::string Contents(const std::string& path) {
    std::stringstream s;
    s << std::ifstream(path, std::ios::binary).rdbuf();
    return s.str();
}

class PredefinesTest : public testing::Test {
protected:
    void WithPage(WORD maxValue, const std::function<void(CDlgTable&)>& body, BYTE output = 0) {
        PageHost host;
        host.Run(ui, [&] {
            CDlgTable page;
            page.m_outputIndex = output;
            page.Create(IDD_TABLE, &host.m_tabCtrl);
            page.SetMaxValue(maxValue);
            body(page);
        });
    }
    // Picks an item as the operator does; the box then shows `after`.
    void Pick(CDlgTable& page, int item, int after = 0) {
        UiDriver::PickComboEntry(page.m_cbPredefines, item);
        EXPECT_EQ(page.m_cbPredefines.GetCurSel(), after) << "item " << item;
    }
    void Gamma(CDlgTable& page, const char* text) {
        ui.ExpectModal(
            [=](CDialog& dialog) {
                dialog.GetDlgItem(IDC_GAMMA)->SetWindowText(text);
                dialog.OnOK();
            },
            IDD_GAMMA);
        Pick(page, 4);
    }
    ScriptedUi ui;
};

}  // namespace

TEST_F(PredefinesTest, ConstantsInvertAndFormulaFillTheWholeTable) {
    WithPage(65535, [&](CDlgTable& page) {
        Pick(page, 1);
        EXPECT_EQ(Entries(page), Table(TABLE_SIZE, 65535));
        Pick(page, 5);
        EXPECT_EQ(Entries(page), Table(TABLE_SIZE, 0));
        Pick(page, 3);
        EXPECT_EQ(page.m_table[1], 257);
        EXPECT_EQ(page.m_table[255], 65535) << "Linear";
        Pick(page, 2);
        EXPECT_EQ(Entries(page), Table(TABLE_SIZE, 0)) << "All off";
        EXPECT_EQ(page.m_listTable.GetItemText(255, 1), "0");

        page.SetMaxValue(1023);
        page.m_table[7] = 1500;  // above the range: Invert wraps, and wraps back
        const Table before = Entries(page);
        Pick(page, 5);
        EXPECT_EQ(page.m_table[7], 65059);
        Pick(page, 5);
        EXPECT_EQ(Entries(page), before);

        ui.ExpectModal([](CDialog& dialog) { dialog.OnOK(); }, IDD_FORMEL);
        Pick(page, 8);
        EXPECT_EQ(page.m_table[255], 1020) << "no clamping to the range";
        EXPECT_EQ(page.m_listTable.GetItemText(255, 1), "1020");
    });
}

TEST_F(PredefinesTest, GammaOfOneIsLinearAndOtherGammasBendTheCurve) {
    for (WORD range : {511, 1023, 65535}) {
        WithPage(range, [&](CDlgTable& page) {
            const Table linear = Entries(page);
            Gamma(page, "1");
            EXPECT_EQ(Entries(page), linear) << "range " << range;
        });
    }
    const struct {
        const char* gamma;
        Table at0_1_64_128_255;
    } cases[] = {
        {"0.5", {0, 0, 64, 257, 1023}}, {"2.2", {0, 82, 545, 747, 1023}}, {"0", Table(5, 0)}};
    WithPage(1023, [&](CDlgTable& page) {
        for (const auto& c : cases) {
            Gamma(page, c.gamma);
            const Table& t = Entries(page);
            EXPECT_EQ(Table({t[0], t[1], t[64], t[128], t[255]}), c.at0_1_64_128_255) << c.gamma;
        }
        ui.ExpectModal([](CDialog& dialog) { dialog.OnCancel(); }, IDD_GAMMA);
        Pick(page, 4);
        EXPECT_EQ(Entries(page), Table(TABLE_SIZE, 0)) << "Cancel keeps the table";
    });
}

TEST_F(PredefinesTest, TablesRoundTripThroughTextFilesNamedAfterTheOutput) {
    TempRuntimeDir folder;
    const std::string path = folder.Path() + "/Table_Output3.txt";
    WithPage(
        1023,
        [&](CDlgTable& page) {
            page.m_table[9] = 65535;
            const Table saved = Entries(page);
            ui.ExpectFileDialog(path.c_str());
            Pick(page, 7);
            const std::string text = Contents(path);
            EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 256);
            EXPECT_EQ(text.substr(0, 24), "0\n4\n8\n12\n16\n20\n24\n28\n32\n");
            EXPECT_EQ(text.substr(text.size() - 5), "1023\n");

            page.SetMaxValue(511);
            ui.ExpectFileDialog(path.c_str());
            ui.ExpectMessageBox(IDNO);
            Pick(page, 7, 7);
            EXPECT_EQ(Contents(path), text) << "No writes nothing";
            EXPECT_EQ(ui.CallsOf(ScriptedUi::Kind::MessageBox).at(0).text,
                      "File (" + path + ") already exists. Do you want to override ?");

            ui.ExpectFileDialog(path.c_str());
            Pick(page, 6);
            EXPECT_EQ(Entries(page), saved);

            for (const auto& d : ui.CallsOf(ScriptedUi::Kind::FileDialog)) {
                EXPECT_EQ(d.text, d.open ? "Table.txt" : "Table_Output3.txt");
                EXPECT_EQ(d.caption, "TEXT Files (*.txt)|*.txt|All Files (*.*)|*.*||");
                EXPECT_EQ(d.type, UINT(OFN_HIDEREADONLY | OFN_FILEMUSTEXIST));
                EXPECT_EQ(d.defExt, "txt");
            }
        },
        2);
}

TEST_F(PredefinesTest, ASaveThatFailsIsReportedAndTheOldFileStays) {
    TempRuntimeDir folder;
    const std::string old = folder.Path() + "/Table.txt";
    std::ofstream(old) << "1\n2\n";
    WithPage(1023, [&](CDlgTable& page) {
        // A file-size limit makes the write fail however privileged the test runs.
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        const rlimit small{64, limit.rlim_max};
        const auto previous = std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &small);
        ui.ExpectFileDialog(old.c_str());
        ui.ExpectMessageBox(IDYES);
        ui.ExpectMessageBox(IDOK);
        Pick(page, 7);
        setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, previous);
        EXPECT_EQ(Contents(old), "1\n2\n");
        EXPECT_EQ(ui.CallsOf(ScriptedUi::Kind::MessageBox)
                      .at(1)
                      .text.Find(("File (" + old + ") could not be saved: ").c_str()),
                  0);
    });
}
