// Detection against emulated dimmers: every outcome of the search, with the window it shapes.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "emulator/IdentifyResponder.h"
#include "link/ModelProfiles.h"
#include "platform/ui/CMenu.h"
#include "platform/ui/testing/UiDriver.h"
#include "tests/app/DimmerRig.h"

namespace {

enum Attach { Nothing, Cable, SeriesCable, Serial };
enum Controls { None = 0, Output = 1, TopRow = 2, Temperature = 4, ScrollBar = 8 };

struct Outcome {
    const char* name;
    Attach attach;
    const char* model;  // null: a cable without a dimmer behind it
    FT_STATUS openStatus;
    const char* title;
    const char* deviceName;
    int outputs, maxValue;
    std::vector<std::string> tabs;
    const char* commands;  // the write command of pages 1 to 12: A (0xbf), B (0xf3), - (none)
    int tempReplyLength;   // 0: not polled
    int scrollMax;         // -1: scroll bar disabled
    int controls;
    bool linkOpen;
};

std::vector<std::string> Tabs(int first, int last, bool standAlone = false) {
    std::vector<std::string> tabs;
    for (int k = first; k <= last; ++k) {
        tabs.push_back("Output " + std::to_string(k));
    }
    if (standAlone) {
        tabs.push_back("StandAlone");
    }
    return tabs;
}

const char kSeries[] = "KAV5806 USB Cable";
const char kCableFamily[] = "(cable family)";

const Outcome kOutcomes[] = {
    {"nothing found", Nothing, nullptr, FT_OK, " - Offline", "", 4, 1023, Tabs(1, 4),
     "------------", 0, -1, None, false},
    {"cable open failed", Cable, nullptr, FT_DEVICE_NOT_OPENED, " - Offline", "", 4, 511,
     Tabs(1, 4, true), "AAAAAAAAAAAA", 1, -1, Output | Temperature, false},
    {"qp1", Cable, "qp1", FT_OK, " - LED-Dimmer QP1 (1 PowerUnit) Online", kCableFamily, 4, 511,
     Tabs(1, 4, true), "AAAAAAAAAAAA", 1, -1, Output | Temperature, true},
    {"qp2", Cable, "qp2", FT_OK, " - LED-Dimmer QP2 (2 PowerUnit) Online", kCableFamily, 4, 511,
     Tabs(1, 4, true), "AAAAAAAAAAAA", 1, -1, Output | Temperature, true},
    {"qp3", Cable, "qp3", FT_OK, " - LED-Dimmer QP3 (3 PowerUnit) Online", kCableFamily, 4, 511,
     Tabs(1, 4, true), "AAAAAAAAAAAA", 1, -1, Output | Temperature, true},
    {"qp with no", Cable, "qp-with-no", FT_OK, " - LED-Dimmer QP  (0 PowerUnit) Online",
     kCableFamily, 4, 511, Tabs(1, 4, true), "AAAAAAAAAAAA", 1, -1, Output | Temperature, true},
    {"cable, no dimmer", Cable, nullptr, FT_OK, " - (Programming cable found / no device)", "", 4,
     511, Tabs(1, 4, true), "AAAAAAAAAAAA", 1, -1, Output | Temperature, true},
    {"qp4", Cable, "qp4", FT_OK, " - LED-Dimmer QP4 (4 PowerUnit) Online", kCableFamily, 4, 1023,
     Tabs(1, 4, true), "BBBBAAAAAAAA", 8, -1, Output | Temperature, true},
    {"kav5806", Cable, "kav5806", FT_OK, " - LED-Dimmer KAV5806 Online", kCableFamily, 12, 65535,
     Tabs(1, 12), "BBBBBBBBBBBB", 0, 8, Output | ScrollBar, true},
    {"t5 qm", Cable, "t5-qm", FT_OK, " - Connected to DMX-LED-Dimmer T5 QM", kCableFamily, 9, 65535,
     Tabs(1, 9), "BBBBBBBBBAAA", 0, 5, Output | ScrollBar, true},
    {"series cable", SeriesCable, "kav5806", FT_OK, " - LED-Dimmer KAV5806 Online", kCableFamily,
     12, 65535, Tabs(1, 12), "BBBBBBBBBBBB", 0, 8, Output | ScrollBar, true},
    {"series cable open failed", SeriesCable, nullptr, FT_DEVICE_NOT_OPENED, " - Offline", "", 12,
     65535, Tabs(1, 12), "BBBBBBBBBBBB", 0, -1, None, false},
    {"serial nwe r8p", Serial, "nwe-r8p", FT_OK, " - Connected to NWE Dimmer R8P", "NWE Dimmer R8P",
     1, 1023, Tabs(1, 1), "B-----------", 0, -1, TopRow, true},
    {"serial t5qm", Serial, "t5qm", FT_OK, " - Connected to DMX-LED-Dimmer T5QM",
     "DMX-LED-Dimmer T5QM", 9, 65535, Tabs(1, 9), "BBBBBBBBB---", 0, 5, Output | ScrollBar, true},
};

const int kOutputIds[] = {
    IDC_GROUP_OUTPUT,  IDC_SLIDER_ROW1,   IDC_SLIDER_ROW2,   IDC_SLIDER_ROW3,   IDC_SLIDER_ROW4,
    IDC_LABEL_OUTPUT1, IDC_LABEL_OUTPUT2, IDC_LABEL_OUTPUT3, IDC_LABEL_OUTPUT4, IDC_LOOKUP_8BIT};
const std::set<int> kTopRowIds = {IDC_GROUP_OUTPUT, IDC_SLIDER_ROW1, IDC_LABEL_OUTPUT1,
                                  IDC_LOOKUP_8BIT};
const int kTemperatureIds[] = {IDC_GROUP_TEMP,          IDC_LABEL_ACTUAL_TEMP, IDC_ACTUAL_TEMP,
                               IDC_LABEL_SHUTDOWN_TEMP, IDC_SHUTDOWN_TEMP,     IDC_TEMP_READ,
                               IDC_TEMP_WRITE,          IDC_TEMP_DEFAULT};

std::string Title(CWnd& window) {
    CString title;
    window.GetWindowText(title);
    return title.GetString();
}

void ExpectOutcome(CBrenvoDlg& dlg, const Outcome& o, const std::string& reply) {
    EXPECT_EQ(Title(dlg), std::string("Brenvo V2.4") + o.title);
    EXPECT_EQ(dlg.m_strDeviceName.GetString(), o.deviceName == kCableFamily ? reply : o.deviceName);
    EXPECT_EQ(dlg.m_nOutputs, o.outputs);
    EXPECT_EQ(dlg.m_nMaxValue, o.maxValue);
    std::vector<std::string> tabs;
    for (int i = 0; i < dlg.m_tabCtrl.GetItemCount(); ++i) {
        tabs.push_back(dlg.m_tabCtrl.GetItemText(i).GetString());
    }
    EXPECT_EQ(tabs, o.tabs);
    EXPECT_EQ(dlg.m_tabCtrl.GetCurSel(), 0);
    std::string commands;
    for (const CDlgTable& page : dlg.m_tables) {
        commands += page.m_writeCommand == CMD_WRITE_TABLE_A   ? 'A'
                    : page.m_writeCommand == CMD_WRITE_TABLE_B ? 'B'
                                                               : '-';
        EXPECT_EQ(page.m_maxValue, static_cast<WORD>(o.maxValue));
        EXPECT_EQ(page.m_table[255], static_cast<WORD>(o.maxValue)) << "linear on the range";
    }
    EXPECT_EQ(commands, o.commands);
    EXPECT_EQ(UiDriver::TimerPeriod(dlg, 0), o.tempReplyLength ? 1000 : -1);
    if (o.tempReplyLength) {
        EXPECT_EQ(dlg.m_nTempReplyLength, o.tempReplyLength);
        EXPECT_TRUE(dlg.m_bReadShutdown);
        EXPECT_FALSE(dlg.m_bWriteShutdown);
    }
    EXPECT_EQ(dlg.m_sliders[0].GetRangeMax(), o.maxValue);

    std::set<int> enabled;
    if (o.controls & Output) {
        enabled.insert(std::begin(kOutputIds), std::end(kOutputIds));
    }
    if (o.controls & TopRow) {
        enabled.insert(kTopRowIds.begin(), kTopRowIds.end());
    }
    if (o.controls & Temperature) {
        enabled.insert(std::begin(kTemperatureIds), std::end(kTemperatureIds));
    }
    if (o.controls & ScrollBar) {
        enabled.insert(IDC_SCROLL_OUTPUTS);
    }
    std::vector<int> all(std::begin(kOutputIds), std::end(kOutputIds));
    all.insert(all.end(), std::begin(kTemperatureIds), std::end(kTemperatureIds));
    all.push_back(IDC_SCROLL_OUTPUTS);
    for (int id : all) {
        EXPECT_EQ(dlg.GetDlgItem(id)->IsWindowEnabled() != FALSE, enabled.count(id) == 1)
            << "control " << id;
    }
    if (o.scrollMax >= 0) {
        int min = -1;
        int max = -1;
        dlg.m_scrollBar.GetScrollRange(&min, &max);
        EXPECT_EQ(min, 0);
        EXPECT_EQ(max, o.scrollMax);
    }
    CMenu* menu = dlg.GetMenu();
    for (UINT id : {ID_DEVICE_READALL, ID_DEVICE_WRITEALL, ID_DEVICE_RESETALL}) {
        EXPECT_EQ((menu->GetMenuState(id, MF_BYCOMMAND) & MF_GRAYED) == 0, o.linkOpen)
            << "item " << id;
    }
}

}  // namespace

TEST(DetectionTest, EveryOutcomeShapesTheWindowForItsModel) {
    for (const Outcome& o : kOutcomes) {
        SCOPED_TRACE(o.name);
        DimmerRig rig;
        DimmerEmulator* dimmer = nullptr;
        if (o.attach == Cable || o.attach == SeriesCable) {
            dimmer = rig.AttachCable(o.model, o.attach == Cable ? CABLE_DESCRIPTION : kSeries,
                                     o.openStatus);
        } else if (o.attach == Serial) {
            dimmer = rig.AttachSerial(o.model);
        }
        std::string reply = dimmer ? dimmer->Model().identifyText : "";
        rig.Run([&](CBrenvoDlg& dlg) { ExpectOutcome(dlg, o, reply); });
    }
}

TEST(DetectionTest, RepliesAndDescriptionsAreReadAsTheListsSay) {
    struct Case {
        const char* description;  // of the one cable listed, or null for a serial reply
        const char* reply;
        const char* title;
        int maxValue;
    } cases[] = {
        // The title takes the first row; the QP4 rule holds all the same.
        {CABLE_DESCRIPTION, "QP1 and QP4", " - LED-Dimmer QP1 (1 PowerUnit) Online", 1023},
        // Only the exact description (or the series name) is the cable: the scan runs instead.
        {"qelvorn-configuration-cable", "QP1", " - Offline", 1023},
        {"QELVORN-Configuration-Cable ", "QP1", " - Offline", 1023},
        {"QELVORN-Configuration-Cabl", "QP1", " - Offline", 1023},
        // A serial reply naming both models is the one-output model.
        {nullptr, "DMX-LED-Dimmer T5QM NWE Dimmer R8P", " - Connected to NWE Dimmer R8P", 1023},
        {nullptr, "DMX-LED-Dimmer T5 QM", " - Offline", 1023},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reply);
        DimmerRig rig;
        IdentifyResponder device(c.reply);
        if (c.description) {
            rig.Cable().AddDevice(c.description);
            rig.Cable().AttachResponder(&device);
        } else {
            rig.Serial().Attach(193, &device);
        }
        rig.Run([&](CBrenvoDlg& dlg) {
            EXPECT_EQ(Title(dlg), std::string("Brenvo V2.4") + c.title);
            EXPECT_EQ(dlg.m_nMaxValue, c.maxValue);
        });
    }
}

TEST(DetectionTest, TheFirstMatchingCableIsTheOneUsed) {
    DimmerRig rig;
    rig.Cable().AddDevice("Some other adapter");
    rig.AttachCable(nullptr, CABLE_DESCRIPTION, FT_DEVICE_NOT_OPENED);
    rig.AttachCable("kav5806", kSeries);
    rig.Run([&](CBrenvoDlg& dlg) {
        EXPECT_EQ(Title(dlg), "Brenvo V2.4 - Offline");
        EXPECT_EQ(dlg.m_hCable, nullptr);
        EXPECT_EQ(dlg.m_nOutputs, 4);
        EXPECT_EQ(rig.Serial().OpenCount(), 0) << "a matching cable skips the scan";
    });
}

TEST(DetectionTest, TheScanTriesEveryPortUpTo256AndPacesOnlyThePortsItTalkedTo) {
    {
        DimmerRig rig;
        rig.Run([&](CBrenvoDlg&) {
            const std::vector<std::string> names = rig.Serial().OpenedNames();
            ASSERT_EQ(names.size(), 256u);
            EXPECT_EQ(names.front(), "\\\\.\\COM1");
            EXPECT_EQ(names.back(), "\\\\.\\COM256");
            EXPECT_EQ(TotalPause(rig.Time()), 0u) << "no pause for a number with no port behind it";
        });
    }
    DimmerRig rig;
    IdentifyResponder silent("");
    IdentifyResponder other("something else");
    rig.Serial().Attach(7, &silent);  // opens, but answers nothing
    rig.Serial().Attach(9, &other);
    rig.AttachSerial("t5qm", 200);
    rig.Run([&](CBrenvoDlg& dlg) {
        EXPECT_EQ(rig.Serial().OpenedNames().size(), 200u);
        EXPECT_EQ(rig.Serial().OpenCount(), 3);
        EXPECT_TRUE(SerialIsOpen());
        std::vector<DWORD> portPauses;
        for (DWORD pause : rig.Time().Pauses()) {
            if (pause == 5) {
                portPauses.push_back(pause);
            }
        }
        EXPECT_EQ(portPauses.size(), 2u) << "after each port that opened and is no dimmer only";
        EXPECT_EQ(dlg.m_strDeviceName, SERIAL_MODEL_T5QM);
    });
}
