// File > Save config and Open config against emulated dimmers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/ui/qt/QtText.h"
#include "platform/ui/testing/UiDriver.h"
#include "tests/app/DimmerRig.h"
#include "tests/support/TempRuntimeDir.h"

namespace {

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void Spill(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// The TABLE sections that a save of the first `count` pages appends.
std::string TableSections(const CBrenvoDlg& dlg, int count) {
    std::string text;
    for (int k = 0; k < count; ++k) {
        const CDlgTable& page = dlg.m_tables[k];
        text +=
            "[TABLE" + std::to_string(k) + "]\r\nMAX=" + std::to_string(page.m_maxValue) + "\r\n";
        for (int i = 0; i < TABLE_SIZE; ++i) {
            text += "VALUE" + std::to_string(i) + "=" + std::to_string(page.m_table[i]) + "\r\n";
        }
    }
    return text;
}

std::vector<BYTE> Preview(const CDlgTable& page) {
    std::vector<BYTE> bits(CDlgTable::CURVE_SIZE * CDlgTable::CURVE_SIZE * 4);
    page.m_bmpCurve.GetBitmapBits(static_cast<DWORD>(bits.size()), bits.data());
    return bits;
}

void Trigger(CBrenvoDlg& dlg, UINT id) {
    ASSERT_TRUE(UiDriver::TriggerMenuItem(dlg, id));
}

}  // namespace

TEST(ConfigFileTest, SaveWritesTheDeviceAndItsOutputsAndKeepsTheRestOfTheFile) {
    struct Case {
        const char* model;  // null: nothing connected
        const char* proposal;
        const char* existing;  // null: no file yet
        const char* kept;      // the existing file after the save, before the new sections
        int sections;          // the pages saved: the model's outputs
    };
    const Case cases[] = {
        {nullptr, "_Config.ini", nullptr, "[DEVICE]\r\nNAME=\r\n", 4},
        {"qp4", "QELVORN_LED-Dimmer_QP4_V2.0_Config.ini",
         "; by hand\n[device]\nname = old\n\n[TABLE7]\nMAX=5\n[Other]\nx = 1 ",
         "; by hand\n[device]\nname=QELVORN LED-Dimmer QP4 V2.0\r\n\n[TABLE7]\nMAX=5\n[Other]\n"
         "x = 1 \r\n",
         4},
        {"kav5806", "QELVORN_KAV5806_12-channel_LED-Dimmer_Config.ini", nullptr,
         "[DEVICE]\r\nNAME=QELVORN KAV5806 12-channel LED-Dimmer\r\n", 12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.proposal);
        TempRuntimeDir dir;
        const std::string path = dir.Path() + "/saved.ini";
        if (c.existing) {
            Spill(path, c.existing);
        }
        DimmerRig rig;
        if (c.model) {
            rig.AttachCable(c.model);
        }
        rig.Run([&](CBrenvoDlg& dlg) {
            dlg.m_tables[1].m_table[5] = 65535;
            rig.Ui().ExpectFileDialog(path.c_str());
            Trigger(dlg, ID_FILE_SAVECONFIG);
            const auto dialogs = rig.Ui().CallsOf(ScriptedUi::Kind::FileDialog);
            ASSERT_EQ(dialogs.size(), 1u);
            EXPECT_FALSE(dialogs[0].open);
            EXPECT_EQ(dialogs[0].text, c.proposal);
            EXPECT_EQ(dialogs[0].caption, "Config Files (*.ini)|*.ini||");
            EXPECT_EQ(dialogs[0].type, static_cast<UINT>(OFN_HIDEREADONLY | OFN_FILEMUSTEXIST));
            EXPECT_EQ(dialogs[0].defExt, "ini");
            EXPECT_EQ(dlg.m_strConfigPath, path.c_str());
            EXPECT_EQ(Slurp(path), c.kept + TableSections(dlg, c.sections));
            EXPECT_EQ(rig.Ui().CallsOf(ScriptedUi::Kind::MessageBox).size(), 0u);
        });
    }
}

TEST(ConfigFileTest, OpenRestoresTheSavedPagesAndLeavesTheOthersAlone) {
    TempRuntimeDir dir;
    const std::string path = dir.Path() + "/round.ini";
    Spill(path, "[TABLE11]\r\nMAX=7\r\nVALUE9=3\r\n");  // kept by the save
    DimmerRig rig;
    rig.AttachCable("qp4");
    rig.Run([&](CBrenvoDlg& dlg) {
        dlg.m_tables[2].m_table[7] = 9;
        rig.Ui().ExpectFileDialog(path.c_str());
        Trigger(dlg, ID_FILE_SAVECONFIG);
        const std::string saved = TableSections(dlg, 4);
        for (CDlgTable& page : dlg.m_tables) {
            std::fill(std::begin(page.m_table), std::end(page.m_table), 42);
        }
        dlg.m_tables[0].m_nValue = 77;
        dlg.m_tables[0].UpdateData(FALSE);

        rig.Ui().ExpectFileDialog(path.c_str());
        Trigger(dlg, ID_FILE_OPENCONFIG);
        const auto dialogs = rig.Ui().CallsOf(ScriptedUi::Kind::FileDialog);
        ASSERT_EQ(dialogs.size(), 2u);
        EXPECT_TRUE(dialogs[1].open);
        EXPECT_EQ(dialogs[1].text, "config.ini");
        EXPECT_EQ(dialogs[1].caption, "Config Files (*.ini)|*.ini|All Files (*.*)|*.*||");
        EXPECT_EQ(dialogs[1].type, static_cast<UINT>(OFN_HIDEREADONLY | OFN_FILEMUSTEXIST));
        EXPECT_EQ(dialogs[1].defExt, "ini");
        EXPECT_EQ(TableSections(dlg, 4), saved);
        EXPECT_EQ(dlg.m_tables[2].m_listTable.GetItemText(7, 1), "9");
        CString valueBox;
        dlg.m_tables[0].GetDlgItem(IDC_VALUE)->GetWindowText(valueBox);
        EXPECT_EQ(valueBox, "77");
        for (int k = 4; k < CBrenvoDlg::MAX_OUTPUTS - 1; ++k) {
            EXPECT_EQ(dlg.m_tables[k].m_table[255], 42) << "page " << k + 1;
        }
        // Every page with a section loads, whatever the model's outputs.
        EXPECT_EQ(dlg.m_tables[11].m_maxValue, 7);
        EXPECT_EQ(dlg.m_tables[11].m_table[9], 3);
    });
}

TEST(ConfigFileTest, OpenChecksTheDeviceAndReadsWhatTheFileHolds) {
    struct Case {
        const char* name;
        const char* model;  // null: nothing connected, device name ""
        const char* file;   // "@" stands for the connected device's name
        bool lowerName;
        bool accepted;
        int max;                   // page 1 afterwards
        std::vector<int> entries;  // page 1's first entries afterwards
    };
    // Page 1 starts linear on 1023: 0, 4, 8, 12, ...
    const Case cases[] = {
        {"no NAME, no device", nullptr, "[TABLE0]\nMAX=7\nVALUE0=1\n", false, true, 7, {1, 0, 0}},
        {"empty NAME, no device",
         nullptr,
         "[DEVICE]\nNAME=\n[TABLE0]\nMAX=7\n",
         false,
         true,
         7,
         {0, 0}},
        {"a NAME, no device",
         nullptr,
         "[DEVICE]\nNAME=x\n[TABLE0]\nMAX=7\n",
         false,
         false,
         1023,
         {0, 4}},
        {"the device's NAME", "qp4", "[DEVICE]\nNAME=@\n[TABLE0]\nMAX=7\n", false, true, 7, {0, 0}},
        {"NAME in another case",
         "qp4",
         "[DEVICE]\nNAME=@\n[TABLE0]\nMAX=7\n",
         true,
         false,
         1023,
         {0, 4}},
        {"MAX 65535 on a 1023 device",
         "qp4",
         "[DEVICE]\nNAME=@\n[TABLE0]\nMAX=65535\nVALUE1=65535\n",
         false,
         true,
         65535,
         {0, 65535, 0}},
        {"unreadable MAX skips the page",
         nullptr,
         "[TABLE0]\nMAX=abc\nVALUE0=5\n",
         false,
         true,
         1023,
         {0, 4}},
        {"written by hand on Windows",
         nullptr,
         "; Brenvo configuration\r\n[ device ]\r\n name = \r\n\r\n[table0]\r\n max = \"511\" \r\n"
         " value0 = 12 \r\nValue1='-1'\r\nVALUE2 = 7abc\r\n;VALUE3=9\r\nVALUE4=99999999999\r\n",
         false,
         true,
         511,
         {12, 65535, 7, 0, 65535, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempRuntimeDir dir;
        const std::string path = dir.Path() + "/open.ini";
        DimmerRig rig;
        if (c.model) {
            rig.AttachCable(c.model);
        }
        rig.Run([&](CBrenvoDlg& dlg) {
            std::string name = dlg.m_strDeviceName.GetString();
            if (c.lowerName) {
                std::transform(name.begin(), name.end(), name.begin(), [](unsigned char ch) {
                    return static_cast<char>(std::tolower(ch));
                });
            }
            std::string file = c.file;
            if (const size_t at = file.find('@'); at != std::string::npos) {
                file.replace(at, 1, name);
            }
            Spill(path, file);
            rig.Ui().ExpectFileDialog(path.c_str());
            if (!c.accepted) {
                rig.Ui().ExpectMessageBox(IDOK);
            }
            Trigger(dlg, ID_FILE_OPENCONFIG);
            EXPECT_EQ(dlg.m_strConfigPath, path.c_str());
            const auto boxes = rig.Ui().CallsOf(ScriptedUi::Kind::MessageBox);
            if (!c.accepted) {
                ASSERT_EQ(boxes.size(), 1u);
                EXPECT_EQ(boxes[0].text, "Config-File is not for connected board !");
                EXPECT_EQ(boxes[0].type, static_cast<UINT>(MB_OK));
            }
            CDlgTable& page = dlg.m_tables[0];
            EXPECT_EQ(page.m_maxValue, c.max);
            for (size_t i = 0; i < c.entries.size(); ++i) {
                EXPECT_EQ(page.m_table[i], c.entries[i]) << "entry " << i;
                EXPECT_EQ(page.m_listTable.GetItemText(static_cast<int>(i), 1),
                          std::to_string(c.entries[i]).c_str());
            }
            // The preview shows the loaded table on the loaded range.
            CDlgTable& reference = dlg.m_tables[11];
            reference.m_maxValue = page.m_maxValue;
            std::copy(std::begin(page.m_table), std::end(page.m_table), reference.m_table);
            reference.RedrawCurve();
            EXPECT_TRUE(Preview(page) == Preview(reference));
        });
    }
}

TEST(ConfigFileTest, ASaveThatCannotWriteTellsTheOperator) {
    TempRuntimeDir dir;
    const std::string path = dir.Path() + "/missing/saved.ini";
    DimmerRig rig;
    rig.Run([&](CBrenvoDlg& dlg) {
        rig.Ui().ExpectFileDialogCancel();
        Trigger(dlg, ID_FILE_SAVECONFIG);
        EXPECT_TRUE(dlg.m_strConfigPath.IsEmpty());

        rig.Ui().ExpectFileDialog(path.c_str());
        rig.Ui().ExpectMessageBox(IDOK);
        Trigger(dlg, ID_FILE_SAVECONFIG);
        const auto boxes = rig.Ui().CallsOf(ScriptedUi::Kind::MessageBox);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(
            boxes[0].text,
            ("Config-File (" + path + ") could not be saved: No such file or directory.").c_str());

        // A path of Latin-1 and UTF-8 bytes: the message holds its bytes and shows each as its
        // character.
        const std::string mixed = dir.Path() + "/Ordner\xE4/caf\xE9 \xC3\xA9t\xE9.ini";
        rig.Ui().ExpectFileDialog(mixed.c_str());
        rig.Ui().ExpectMessageBox(IDOK);
        Trigger(dlg, ID_FILE_SAVECONFIG);
        const CString report = rig.Ui().CallsOf(ScriptedUi::Kind::MessageBox).back().text;
        EXPECT_EQ(
            report,
            ("Config-File (" + mixed + ") could not be saved: No such file or directory.").c_str());
        EXPECT_EQ(ToQString(report),
                  "Config-File (" + ToQString(dir.Path().c_str()) +
                      QString::fromUtf16(u"/Ordner\u00E4/caf\u00E9 \u00E9t\u00E9.ini) could not be "
                                         u"saved: No such file or directory."));

        // A name with a line break is not stored: no file without it, and a later save works.
        const std::string named = dir.Path() + "/named.ini";
        dlg.m_strDeviceName = "LED-Dimmer\r\nQP4";
        rig.Ui().ExpectFileDialog(named.c_str());
        rig.Ui().ExpectMessageBox(IDOK);
        Trigger(dlg, ID_FILE_SAVECONFIG);
        ASSERT_EQ(rig.Ui().CallsOf(ScriptedUi::Kind::MessageBox).size(), 3u);
        EXPECT_EQ(rig.Ui().CallsOf(ScriptedUi::Kind::MessageBox)[2].text,
                  ("Config-File (" + named + ") could not be saved: Invalid argument.").c_str());
        EXPECT_EQ(Slurp(named), "");
        dlg.m_strDeviceName = "QP4";
        rig.Ui().ExpectFileDialog(named.c_str());
        Trigger(dlg, ID_FILE_SAVECONFIG);
        EXPECT_EQ(Slurp(named), "[DEVICE]\r\nNAME=QP4\r\n" + TableSections(dlg, 4));
    });
}
