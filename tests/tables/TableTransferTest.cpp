// A page's Write and Read: which link carries the table, what a reply does to the page, and what
// the operator is told when the dimmer does not confirm.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "emulator/DimmerEmulator.h"
#include "link/DeviceCommands.h"
#include "link/SerialTransport.h"
#include "platform/ui/testing/UiDriver.h"
#include "tables/CDlgTable.h"
#include "tests/support/EmulatedSerialPorts.h"
#include "tests/support/RecordingCableDriver.h"
#include "tests/support/ScriptedResponder.h"
#include "tests/tables/PageHost.h"

namespace {

using Bytes = std::vector<BYTE>;
constexpr int kSerialPort = 193;

class TableTransferTest : public testing::Test {
protected:
    ~TableTransferTest() override { SerialClose(); }

    // Runs `body` with one page for output 2 (range 1023, command B) in a host window.
    void WithPage(FT_HANDLE* cable, const std::function<void(CDlgTable&)>& body) {
        PageHost host;
        host.Run(ui, [&] {
            CDlgTable page;
            page.m_outputIndex = 1;
            page.m_pCableHandle = cable;
            page.Create(IDD_TABLE, &host.m_tabCtrl);
            page.m_writeCommand = CMD_WRITE_TABLE_B;
            page.SetMaxValue(1023);
            body(page);
        });
    }
    int Beeps() {
        const auto events = time.Events();
        return static_cast<int>(std::count_if(events.begin(), events.end(), [](const auto& e) {
            return e.kind == RecordingTimeService::Event::BeepSound && e.a == 100 && e.b == 100;
        }));
    }

    RecordingTimeService time;
    RecordingCableDriver driver{&time};
    EmulatedSerialPorts ports;
    ScriptedResponder serialDimmer;
    ScriptedUi ui;
};

}  // namespace

TEST_F(TableTransferTest, AWholeReplyReplacesTheTableAShortOneBeeps) {
    struct Case {
        const char* name;
        bool cable;
        std::size_t replyLength;
    } cases[] = {
        {"cable, 512", true, 512},
        {"serial, 512", false, 512},
        {"cable, 511", true, 511},
        {"serial, 511", false, 511},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        time.Clear();
        Bytes reply(c.replyLength, 0);
        reply[10] = 0xff;
        reply[11] = 0x03;
        FT_HANDLE cable = nullptr;
        if (c.cable) {
            cable = driver.OpenedHandle();
            driver.ScriptRead({});
            driver.ScriptRead(reply);
        } else {
            ports.Attach(kSerialPort, &serialDimmer);
            serialDimmer.SetReply({reply});
            ASSERT_TRUE(SerialOpen(kSerialPort));
        }
        WithPage(&cable, [&](CDlgTable& page) {
            page.m_cbPredefines.SetCurSel(3);
            page.m_table[6] = 77;
            UiDriver::Click(*page.GetDlgItem(IDC_TABLE_READ));
            const bool whole = c.replyLength == TABLE_IMAGE_SIZE;
            EXPECT_EQ(page.m_table[5], whole ? 1023 : 1023 * 5 / 255);
            EXPECT_EQ(page.m_table[6], whole ? 0 : 77);
            EXPECT_EQ(page.m_listTable.GetItemText(5, 1), whole ? "1023" : "20");
            EXPECT_EQ(Beeps(), whole ? 0 : 1);
            EXPECT_EQ(page.m_cbPredefines.GetCurSel(), 0);
        });
        const Bytes request = {CMD_READ_TABLE, 1};
        if (c.cable) {
            EXPECT_EQ(driver.Writes(), std::vector<Bytes>{request});
        } else {
            EXPECT_EQ(ports.Written(), request);
            SerialClose();
        }
        driver.ClearLog();
    }
}

TEST_F(TableTransferTest, TheCableCarriesTheTableWhenOpenNothingIsSentWithoutALink) {
    FT_HANDLE none = nullptr;
    WithPage(&none, [&](CDlgTable& page) {
        EXPECT_FALSE(page.WriteTableToDevice());
        EXPECT_TRUE(page.ReadTableFromDevice());
        EXPECT_EQ(page.m_table[255], 1023);
    });
    EXPECT_TRUE(time.Events().empty()) << "no pause, no beep";
    EXPECT_TRUE(driver.Writes().empty());

    // Both links open: the cable.
    ports.Attach(kSerialPort, &serialDimmer);
    ASSERT_TRUE(SerialOpen(kSerialPort));
    FT_HANDLE cable = driver.OpenedHandle();
    driver.ScriptRead({});  // drain after the trailer
    driver.ScriptRead({'k'});
    WithPage(&cable, [&](CDlgTable& page) { EXPECT_TRUE(page.WriteTableToDevice()); });
    ASSERT_EQ(driver.Writes().size(), 5u);
    EXPECT_EQ(driver.Writes()[0], Bytes{CMD_WRITE_TABLE_B});
    EXPECT_EQ(driver.Writes()[1], Bytes{1});
    EXPECT_TRUE(ports.Written().empty());
}

TEST_F(TableTransferTest, WriteTellsWhichOutputTheDimmerDidNotConfirm) {
    DimmerEmulator dimmer(*FindDimmerModel("qp4"));
    dimmer.SetFault(DimmerFault::NeverConfirm);
    driver.AttachResponder(&dimmer);
    FT_HANDLE cable = driver.OpenedHandle();
    WithPage(&cable, [&](CDlgTable& page) {
        ui.ExpectMessageBox(IDOK);
        UiDriver::Click(*page.GetDlgItem(IDC_TABLE_WRITE));
    });
    const auto boxes = ui.CallsOf(ScriptedUi::Kind::MessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "The dimmer did not confirm the table of Output 2.");
    EXPECT_EQ(dimmer.Snapshot().tableWrites[1], 1u);
}
