// The temperature group against dimmers on a recording cable. The real timer is stopped: each test
// sends the poll ticks itself.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "emulator/IdentifyResponder.h"
#include "platform/ui/testing/UiDriver.h"
#include "tests/app/DimmerRig.h"

namespace {

using Bytes = std::vector<BYTE>;

std::string C(int celsius) {  // the degree sign is the single byte 0xB0
    return std::to_string(celsius) +
           " \xB0"
           "C";
}
std::string Four(const std::vector<std::string>& t) {
    return t[0] + " / " + t[1] + " / " + t[2] + " / " + t[3];
}
std::string Field(CBrenvoDlg& dlg, int id) {
    CString text;
    dlg.GetDlgItem(id)->GetWindowText(text);
    return text.GetString();
}
void Tick(CBrenvoDlg& dlg) {
    dlg.SendMessage(WM_TIMER, 0, 0);
}

}  // namespace

TEST(TemperatureTest, ReadingsShowInWholeDegreesOrAsMissing) {
    struct Case {
        const char* model;
        BYTE oneByte;
        DimmerRawTemperatures raw;
        WORD shutdownRaw;
        std::string actual, shutdown;
    } cases[] = {
        {"qp1", 25, {}, 535, C(25), C(25)},
        {"qp1", 127, {}, 768, C(127), C(520)},
        {"qp-with-no", 128, {}, 769, "---", "---"},
        {"qp4", 0, {469, 0, 470, 512}, 469, Four({C(-40), C(-40), C(-39), C(0)}), C(-40)},
        {"qp4", 0, {512, 535, 769, 470}, 0xffff, Four({C(0), C(25), "---", C(-39)}), "---"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.actual);
        DimmerRig rig;
        DimmerEmulator* dimmer = rig.AttachCable(c.model);
        dimmer->SetTemperatureByte(c.oneByte);
        dimmer->SetRawTemperatures(c.raw);
        dimmer->SetShutdownRaw(c.shutdownRaw);
        rig.Run([&](CBrenvoDlg& dlg) {
            dlg.KillTimer(0);
            Tick(dlg);  // the profile asked for the shut-down temperature too
            EXPECT_EQ(Field(dlg, IDC_ACTUAL_TEMP), c.actual);
            EXPECT_EQ(Field(dlg, IDC_SHUTDOWN_TEMP), c.shutdown);
        });
    }
}

TEST(TemperatureTest, WriteAndDefaultSendAtTheNextTickAndTheTickAfterReadsBack) {
    struct Case {
        const char* typed;
        int button;
        Bytes sent;
        std::string readBack;
    } cases[] = {
        {"25", IDC_TEMP_WRITE, {0xbe, 0x17, 0x02}, C(25)},
        {"50", IDC_TEMP_WRITE, {0xbe, 0x2c, 0x02}, C(49)},  // raw 556, truncated
        {" -5x", IDC_TEMP_WRITE, {0xbe, 0xfb, 0x01}, C(-5)},
        {"abc", IDC_TEMP_WRITE, {0xbe, 0x00, 0x02}, C(0)},          // raw 512
        {"4294967296", IDC_TEMP_WRITE, {0xbe, 0xff, 0x03}, "---"},  // held at INT_MAX: raw 1023
        {"40", IDC_TEMP_DEFAULT, {0xbe, 0xff, 0xff}, "---"},
    };
    DimmerRig rig;
    rig.AttachCable("qp1");
    rig.Run([&](CBrenvoDlg& dlg) {
        dlg.KillTimer(0);
        Tick(dlg);
        CWnd& field = *dlg.GetDlgItem(IDC_SHUTDOWN_TEMP);
        for (const Case& c : cases) {
            SCOPED_TRACE(c.typed);
            UiDriver::ClearText(field);
            UiDriver::TypeText(field, c.typed);
            Tick(dlg);  // takes the typed text over
            UiDriver::ClearText(field);
            UiDriver::TypeText(field, "99");  // typed after the tick: not what Write uses
            UiDriver::Click(*dlg.GetDlgItem(c.button));
            rig.Cable().ClearLog();
            Tick(dlg);
            EXPECT_EQ(rig.Cable().Writes().back(), c.sent);
            EXPECT_EQ(Field(dlg, IDC_SHUTDOWN_TEMP), "99");
            Tick(dlg);
            EXPECT_EQ(Field(dlg, IDC_SHUTDOWN_TEMP), c.readBack);
        }
        // Read and Write asked before one tick: that tick reads, then writes; the next reads back.
        UiDriver::Click(*dlg.GetDlgItem(IDC_TEMP_READ));
        UiDriver::Click(*dlg.GetDlgItem(IDC_TEMP_DEFAULT));
        rig.Cable().ClearLog();
        Tick(dlg);
        EXPECT_EQ(rig.Cable().Writes(), (std::vector<Bytes>{{0xbc}, {0xbd}, {0xbe, 0xff, 0xff}}));
        EXPECT_EQ(Field(dlg, IDC_SHUTDOWN_TEMP), "---");
        UiDriver::ClearText(field);
        UiDriver::TypeText(field, "77");
        UiDriver::Click(*dlg.GetDlgItem(IDC_TEMP_READ));
        Tick(dlg);
        EXPECT_EQ(Field(dlg, IDC_SHUTDOWN_TEMP), "---") << "Read replaces typed text";
    });
}

TEST(TemperatureTest, AReplyCutShortShowsMissingForEveryReadingItDidNotComplete) {
    struct Case {
        const char* identify;
        Bytes full;
        std::vector<std::string> texts;
    } cases[] = {
        {"QP1", {25}, {C(25)}},
        {"QP4", {0x00, 0x02, 0x17, 0x02, 0x01, 0x03, 0xd6, 0x01}, {C(0), C(25), "---", C(-39)}},
    };
    const Bytes shutdown = {0x17, 0x02};
    for (const Case& c : cases) {
        DimmerRig rig;
        IdentifyResponder device(c.identify);  // answers nothing else: the script does
        rig.Cable().AddDevice(CABLE_DESCRIPTION);
        rig.Cable().AttachResponder(&device);
        rig.Run([&](CBrenvoDlg& dlg) {
            dlg.KillTimer(0);
            const std::size_t perReading = c.full.size() / c.texts.size();
            for (std::size_t n = 0; n < c.full.size(); ++n) {
                SCOPED_TRACE(std::string(c.identify) + ", bytes " + std::to_string(n));
                // A complete reply first, so that stale bytes would show.
                for (std::size_t length : {c.full.size(), n}) {
                    const std::size_t shutdownLength = length == n ? n % 2 : 2;
                    rig.Cable().ScriptRead(Bytes(c.full.begin(), c.full.begin() + length));
                    rig.Cable().ScriptRead(
                        Bytes(shutdown.begin(), shutdown.begin() + shutdownLength));
                    UiDriver::Click(*dlg.GetDlgItem(IDC_TEMP_READ));
                    Tick(dlg);
                }
                std::vector<std::string> shown;
                for (std::size_t i = 0; i < c.texts.size(); ++i) {
                    shown.push_back(n >= (i + 1) * perReading ? c.texts[i] : "---");
                }
                EXPECT_EQ(Field(dlg, IDC_ACTUAL_TEMP), shown.size() == 1 ? shown[0] : Four(shown));
                EXPECT_EQ(Field(dlg, IDC_SHUTDOWN_TEMP), "---");
            }
        });
    }
}
