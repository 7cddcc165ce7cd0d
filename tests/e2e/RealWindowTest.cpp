// The real brenvo on a private X display against the real brenvo-dimmer, for every model: what a
// person sees when the program starts with that dimmer attached.
#include <gtest/gtest.h>

#include <chrono>
#include <regex>
#include <string>
#include <thread>

#include "tests/e2e/Processes.h"
#include "tests/support/TempRuntimeDir.h"

namespace {

using namespace std::chrono_literals;

class RealWindowTest : public testing::Test {
protected:
    void SetUp() override {
        m_xvfb = StartDisplay(m_display, m_runtime.Path() + "/xvfb.log");
        ASSERT_TRUE(m_xvfb.Running()) << "Xvfb did not start";
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

    // Starts brenvo and returns the title of its window once it is shown ("" if none was); the
    // window's id goes to m_window.
    std::string StartBrenvoAndReadTitle() {
        m_brenvo = Process({BRENVO_PATH}, {"DISPLAY=" + m_display, "QT_QPA_PLATFORM=xcb"},
                           m_runtime.Path() + "/brenvo.log");
        const std::string find =
            "DISPLAY=" + m_display + " xdotool search --onlyvisible --name '^Brenvo V' 2>/dev/null";
        for (int i = 0; i < 600 && m_brenvo.Running(); ++i) {
            const std::string window = Capture(find);
            if (!window.empty()) {
                m_window = window.substr(0, window.find('\n'));
                return Capture("DISPLAY=" + m_display + " xdotool getwindowname " + m_window);
            }
            std::this_thread::sleep_for(50ms);
        }
        return std::string();
    }

    // Waits up to `limitMs` until the window's title is `title`.
    bool TitleBecomes(const std::string& title, int limitMs) {
        const std::string read = "DISPLAY=" + m_display + " xdotool getwindowname " + m_window;
        for (int waited = 0; waited <= limitMs; waited += 50) {
            if (Capture(read) == title) {
                return true;
            }
            std::this_thread::sleep_for(50ms);
        }
        return false;
    }
    // What the emulator has shown so far (it prints a new view for every command it receives).
    std::string DimmerView() { return Capture("cat '" + m_runtime.Path() + "/dimmer.log'"); }
    // Waits up to `limitMs` until the emulator's view matches `pattern` after the position `from`.
    bool DimmerShows(const std::regex& pattern, std::size_t from, int limitMs) {
        for (int waited = 0; waited <= limitMs; waited += 50) {
            const std::string view = DimmerView();
            if (view.size() > from && std::regex_search(view.begin() + from, view.end(), pattern)) {
                return true;
            }
            std::this_thread::sleep_for(50ms);
        }
        return false;
    }
    // Acts on the window with xdotool; positions are in the window's pixels.
    void Xdo(const std::string& window, const std::string& actions) {
        Capture("DISPLAY=" + m_display + " xdotool " + actions + " 2>/dev/null");
        (void)window;
    }

    TempRuntimeDir m_runtime;
    std::string m_display;
    std::string m_window;
    Process m_xvfb;
    Process m_dimmer;
    Process m_brenvo;
};

// Where a person points: the top slider's knob at its left end, and the page's Write button, in
// the pixels of the window (menu bar included) with the dialog font's 6 x 13 base units.
constexpr int kSliderKnobX = 136, kSliderY = 59, kSliderDragX = 260;
constexpr int kWriteButtonX = 743, kWriteButtonY = 235;

TEST_F(RealWindowTest, EveryModelShowsItsTitleTakesASliderMoveAndATableFromAPage) {
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
        EXPECT_EQ(StartBrenvoAndReadTitle(), c.title)
            << "running: " << m_brenvo.Running() << "\n"
            << Capture("cat '" + m_runtime.Path() + "/brenvo.log'");
        if (c.model && !m_window.empty()) {
            const std::string w = " --window " + m_window + " ";
            std::size_t seen = DimmerView().size();
            Xdo(m_window, "mousemove" + w + std::to_string(kSliderKnobX) + " " +
                              std::to_string(kSliderY) + " mousedown 1 mousemove" + w +
                              std::to_string(kSliderDragX) + " " + std::to_string(kSliderY) +
                              " mouseup 1");
            // The press repaints the knob at 0 first; the drag then sends levels above it.
            EXPECT_TRUE(DimmerShows(std::regex("output 1 = [1-9]"), seen, 10000))
                << "no level above 0 from the slider";

            seen = DimmerView().size();
            Xdo(m_window, "mousemove" + w + std::to_string(kWriteButtonX) + " " +
                              std::to_string(kWriteButtonY) + " click 1");
            EXPECT_TRUE(DimmerShows(std::regex("table for output 1 written"), seen, 15000))
                << "the page's Write did not reach the dimmer";
        }
        m_brenvo.Stop();
        m_dimmer.Stop();
    }
}

TEST_F(RealWindowTest, TheWindowFindsADimmerPluggedInLaterAndNoticesItGo) {
    EXPECT_EQ(StartBrenvoAndReadTitle(), "Brenvo V2.4 - Offline");
    ASSERT_FALSE(m_window.empty());
    StartDimmer("qp4");
    // 2 s to notice the port, the search itself, and room for a slow (sanitizer) build.
    EXPECT_TRUE(TitleBecomes("Brenvo V2.4 - LED-Dimmer QP4 (4 PowerUnit) Online", 10000))
        << Capture("cat '" + m_runtime.Path() + "/brenvo.log'");
    m_dimmer.Stop();
    EXPECT_TRUE(TitleBecomes("Brenvo V2.4 - Offline", 5000));
    m_brenvo.Stop();
}

}  // namespace
