// The StandAlone page: its button, from the file dialog to the EEPROM commands, on a recording
// cable driver and on an emulated cable.
#include "link/CDlgStandAlone.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "emulator/DimmerEmulator.h"
#include "emulator/PtyPlayer.h"
#include "link/CableTransport.h"
#include "link/StandAloneImage.h"
#include "platform/ui/CBusyScope.h"
#include "platform/ui/testing/UiDriver.h"
#include "tests/link/StandAloneHost.h"
#include "tests/support/RecordingCableDriver.h"
#include "tests/support/TempRuntimeDir.h"

namespace {

using Bytes = std::vector<BYTE>;

// Passes every pause on to the recording service and notes, at each, where the progress bar
// stands, or -1 when the window is not busy.
class PauseWatch final : public TimeService {
public:
    PauseWatch(RecordingTimeService& inner, CProgressCtrl& bar) : m_inner(inner), m_bar(bar) {
        SetTimeService(this);
    }
    ~PauseWatch() override { SetTimeService(&m_inner); }
    void Sleep(DWORD ms) override {
        positions.push_back(CBusyScope::IsActive() ? m_bar.GetPos() : -1);
        m_inner.Sleep(ms);
    }
    void Beep(DWORD frequency, DWORD durationMs) override { m_inner.Beep(frequency, durationMs); }
    LONGLONG Counter() override { return m_inner.Counter(); }
    LONGLONG Frequency() override { return m_inner.Frequency(); }

    std::vector<int> positions;

private:
    RecordingTimeService& m_inner;
    CProgressCtrl& m_bar;
};

class CDlgStandAloneTest : public testing::Test {
protected:
    CString File(const std::string& content) {
        const std::string path = m_folder.Path() + "/" + std::to_string(++m_files) + ".hex";
        FILE* f = std::fopen(path.c_str(), "wb");
        EXPECT_NE(f, nullptr);
        std::fwrite(content.data(), 1, content.size(), f);
        std::fclose(f);
        return path.c_str();
    }

    // Presses the page's button in a host window whose progress bar stands at 40 of 100, with
    // `cable` as the main window's handle, and chooses `path` in the file dialog (cancels it when
    // empty).
    void Press(FT_HANDLE cable, const CString& path, bool messageBox = false) {
        StandAloneHost host;
        host.Run(ui, [&] {
            if (path.IsEmpty()) {
                ui.ExpectFileDialogCancel();
            } else {
                ui.ExpectFileDialog(path);
            }
            if (messageBox) {
                ui.ExpectMessageBox(IDOK);
            }
            CDlgStandAlone page;
            page.m_pCableHandle = &cable;
            host.AddPage(page);
            host.m_progress.SetRange32(0, 100);
            host.m_progress.SetPos(40);
            PauseWatch watch(time, host.m_progress);
            UiDriver::Click(*page.GetDlgItem(IDC_WRITE_HEX));
            positions = watch.positions;
            int lower = 0;
            host.m_progress.GetRange(lower, upperAfter);
            positionAfter = host.m_progress.GetPos();
        });
    }

    TempRuntimeDir m_folder;  // the files, and the emulated cable's folder
    int m_files = 0;
    ScriptedUi ui;
    RecordingTimeService time;
    RecordingCableDriver driver{&time};
    std::vector<int> positions;
    int upperAfter = 0;
    int positionAfter = 0;
};

TEST_F(CDlgStandAloneTest, FileIsSentByteByByteFromAddressZeroWhileTheWindowIsBusy) {
    Press(driver.OpenedHandle(), File("0000:12\r\n0001:34\r\n0002:56\r\n"));
    EXPECT_EQ(driver.Writes(),
              (std::vector<Bytes>{{187, 0, 0, 18, 18}, {187, 1, 0, 52, 53}, {187, 2, 0, 86, 84}}));
    EXPECT_EQ(time.Pauses(), (std::vector<DWORD>{10, 10, 10}));
    EXPECT_EQ(positions, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(positionAfter, 0);
    EXPECT_EQ(upperAfter, 100);

    const auto dialogs = ui.CallsOf(ScriptedUi::Kind::FileDialog);
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_TRUE(dialogs[0].open);
    EXPECT_EQ(dialogs[0].text, "StandAlone.hex");
    EXPECT_EQ(dialogs[0].defExt, "hex");
    EXPECT_EQ(dialogs[0].caption, "HEX Files (*.hex)|*.hex|All Files (*.*)|*.*||");
    EXPECT_EQ(dialogs[0].type, static_cast<UINT>(OFN_HIDEREADONLY | OFN_FILEMUSTEXIST));
    EXPECT_TRUE(ui.CallsOf(ScriptedUi::Kind::MessageBox).empty());
}

TEST_F(CDlgStandAloneTest, NothingIsSentForRefusedUnreadableOrEmptyFilesNorWithoutCable) {
    std::string tooMany;
    for (DWORD i = 0; i <= STANDALONE_IMAGE_SIZE; ++i) {
        tooMany += "0000:00\n";
    }
    // A file the dialog accepts but that holds no data to read.
    const CString pipe = m_folder.Path().c_str() + CString("/pipe.hex");
    ASSERT_EQ(mkfifo(pipe, 0600), 0);
    // A gigabyte (sparse: no disk space taken) is not read into memory.
    const CString huge = File("0000:12\r\n");
    ASSERT_EQ(truncate(huge, 1L << 30), 0);
    // Binary bytes hold no digit or colon that could name a value.
    std::string binary(4096, '\0');
    for (std::size_t i = 0; i < binary.size(); ++i) {
        binary[i] = static_cast<char>(0x80 | (i % 0x40));
    }
    struct Case {
        const char* name;
        CString path;  // empty: the dialog is cancelled
        bool cable;
        CString message;  // empty: none
    } cases[] = {
        {"cancelled", "", true, ""},
        {"empty file", File(""), true, ""},
        {"no cable", File("0000:12\r\n"), false, ""},
        {"outside", File("0000:01\r\n80E8:02\r\n"), true,
         "Line 2 of the HEX file names an address outside the EEPROM (0 to 80E7 hexadecimal). "
         "Nothing was written."},
        {"too many", File(tooMany), true,
         "The HEX file holds more than 33000 values, more than the EEPROM takes. Nothing was "
         "written."},
        {"unreadable", pipe, true,
         "The HEX file " + pipe + " could not be read. Nothing was written."},
        {"a gigabyte", huge, true,
         "The HEX file " + huge +
             " is too large to be a StandAlone sequence. Nothing was written."},
        {"binary", File(binary), true, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // The scripted seam fails the test on a message box it does not expect.
        Press(c.cable ? driver.OpenedHandle() : nullptr, c.path, !c.message.IsEmpty());
        EXPECT_TRUE(driver.Log().empty());
        EXPECT_TRUE(time.Pauses().empty());
        if (!c.message.IsEmpty()) {
            // Shown last, once the wait cursor has gone.
            EXPECT_EQ(ui.Calls().back().kind, ScriptedUi::Kind::MessageBox);
            EXPECT_EQ(ui.Calls().back().text, c.message);
        }
        EXPECT_EQ(positionAfter, 40) << "the bar is left alone";
    }
}

TEST_F(CDlgStandAloneTest, WholeFileLandsInTheEmulatedDimmersEeprom) {
    // Lines in any order: the image is indexed by address, and the write goes from 0 upwards.
    constexpr DWORD kBytes = 600;
    auto value = [](DWORD a) { return static_cast<BYTE>((a * 37 + 11) ^ (a >> 8)); };
    std::vector<std::string> lines;
    for (DWORD a = 0; a < kBytes; ++a) {
        char line[32];
        std::snprintf(line, sizeof line, "%04lx:%02X\r\n", static_cast<unsigned long>(a), value(a));
        lines.emplace_back(line);
    }
    std::shuffle(lines.begin(), lines.end(), std::mt19937(7));
    std::string text;
    for (const std::string& line : lines) {
        text += line;
    }
    const CString path = File(text);

    SetCableDriver(nullptr);  // the production driver, on the emulated cable
    DimmerEmulator dimmer(*FindDimmerModel("qp1"));
    PtyPlayer::Options options;
    options.baudRate = 2000000;  // the wire is not what is tested here
    options.publish = PtyPlayer::Publish::Cable;
    options.description = CABLE_DESCRIPTION;
    PtyPlayer player(dimmer, options);
    ASSERT_TRUE(player.Start());
    FT_HANDLE cable = nullptr;
    FT_STATUS status = 99;
    CString description;
    ASSERT_TRUE(CableFindAndOpen(cable, status, description));
    Press(cable, path);
    for (int i = 0; i < 400 && player.ReceivedCount() < kBytes * EEPROM_WRITE_LENGTH; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    CurrentCableDriver().Close(cable);

    const DimmerSnapshot state = dimmer.Snapshot();
    EXPECT_EQ(state.eepromBytes, kBytes);
    EXPECT_EQ(state.eepromBadChecks, 0u);
    EXPECT_EQ(state.lastEepromAddress, static_cast<long>(kBytes - 1));
    for (DWORD a = 0; a < kBytes; ++a) {
        ASSERT_EQ(dimmer.EepromByte(static_cast<WORD>(a)), value(a)) << "address " << a;
    }
    EXPECT_EQ(dimmer.EepromByte(kBytes), STANDALONE_ERASED);
    SetCableDriver(&driver);
}

}  // namespace
