// The real brenvo on a private X display against the real brenvo-dimmer, for every model: what a
// person sees when the program starts with that dimmer attached.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <string>
#include <thread>

#include "tests/e2e/Processes.h"
#include "tests/support/TempRuntimeDir.h"

namespace {

using namespace std::chrono_literals;

class RealWindowTest : public testing::Test {
protected:
    void SetUp() override {
        for (int n = 100 + getpid() % 300; n < 999 && m_display.empty(); ++n) {
            struct stat st {};
            if (stat(("/tmp/.X11-unix/X" + std::to_string(n)).c_str(), &st) != 0 &&
                stat(("/tmp/.X" + std::to_string(n) + "-lock").c_str(), &st) != 0) {
                m_display = ":" + std::to_string(n);
            }
        }
        m_xvfb = Process({"Xvfb", m_display, "-screen", "0", "1280x800x24", "-nolisten", "tcp"}, {},
                         m_runtime.Path() + "/xvfb.log");
        const std::string socket = "/tmp/.X11-unix/X" + m_display.substr(1);
        for (int i = 0; i < 200 && access(socket.c_str(), F_OK) != 0; ++i) {
            std::this_thread::sleep_for(20ms);
        }
        ASSERT_EQ(access(socket.c_str(), F_OK), 0) << "Xvfb did not start";
    }

    // Starts the emulator as `model` and waits until it has published its port.
    void StartDimmer(const std::string& model) {
        m_dimmer =
            Process({BRENVO_DIMMER_PATH, "--model", model}, {}, m_runtime.Path() + "/dimmer.log");
        for (int i = 0; i < 200; ++i) {
            if (access((m_runtime.PortsPath() + "/CABLE0.description").c_str(), F_OK) == 0 ||
                access((m_runtime.PortsPath() + "/EMU0").c_str(), F_OK) == 0) {
                return;
            }
            std::this_thread::sleep_for(10ms);
        }
        FAIL() << "brenvo-dimmer did not publish its port";
    }

    // Starts brenvo and returns the title of its window once it is shown ("" if none was).
    std::string StartBrenvoAndReadTitle() {
        m_brenvo = Process({BRENVO_PATH}, {"DISPLAY=" + m_display, "QT_QPA_PLATFORM=xcb"},
                           m_runtime.Path() + "/brenvo.log");
        const std::string find =
            "DISPLAY=" + m_display + " xdotool search --onlyvisible --name '^Brenvo V' 2>/dev/null";
        for (int i = 0; i < 300 && m_brenvo.Running(); ++i) {
            const std::string window = Capture(find);
            if (!window.empty()) {
                return Capture("DISPLAY=" + m_display + " xdotool getwindowname " +
                               window.substr(0, window.find('\n')));
            }
            std::this_thread::sleep_for(50ms);
        }
        return std::string();
    }

    TempRuntimeDir m_runtime;
    std::string m_display;
    Process m_xvfb;
    Process m_dimmer;
    Process m_brenvo;
};

TEST_F(RealWindowTest, TheTitleNamesTheDimmerOfEveryModel) {
    const struct {
        const char* model;
        const char* title;
    } cases[] = {
        {"qp1", "Brenvo V2.4 - LED-Dimmer QP1 (1 PowerUnit) Online"},
        {"qp2", "Brenvo V2.4 - LED-Dimmer QP2 (2 PowerUnit) Online"},
        {"qp3", "Brenvo V2.4 - LED-Dimmer QP3 (3 PowerUnit) Online"},
        {"qp4", "Brenvo V2.4 - LED-Dimmer QP4 (4 PowerUnit) Online"},
        {"qp-with-no", "Brenvo V2.4 - LED-Dimmer QP  (0 PowerUnit) Online"},
        {"kav5806", "Brenvo V2.4 - LED-Dimmer KAV5806 Online"},
        {"t5-qm", "Brenvo V2.4 - Connected to DMX-LED-Dimmer T5 QM"},
        {"t5qm", "Brenvo V2.4 - Connected to DMX-LED-Dimmer T5QM"},
        {"nwe-r8p", "Brenvo V2.4 - Connected to NWE Dimmer R8P"},
        {nullptr, "Brenvo V2.4 - Offline"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.model ? c.model : "nothing attached");
        if (c.model) {
            StartDimmer(c.model);
        }
        EXPECT_EQ(StartBrenvoAndReadTitle(), c.title);
        m_brenvo.Stop();
        m_dimmer.Stop();
    }
}

}  // namespace
