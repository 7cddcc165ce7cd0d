// The brenvo-dimmer program itself: publishing, answering through the published port, and
// removing its port when it is told to stop.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

#include "link/DeviceProtocol.h"
#include "link/SerialTransport.h"
#include "tests/e2e/Processes.h"
#include "tests/support/TempRuntimeDir.h"

namespace {

using namespace std::chrono_literals;

class BrenvoDimmerProcessTest : public ::testing::Test {
protected:
    // A failed assertion returns before the test stops its program: end it here, so that no
    // emulator outlives the test with its port published.
    void TearDown() override {
        SerialClose();
        for (pid_t pid : m_started) {
            int status = 0;
            if (waitpid(pid, &status, WNOHANG) == 0) {
                kill(pid, SIGKILL);
                waitpid(pid, &status, 0);
            }
        }
    }

    // Starts the program with its output going to a file (or to `outputFd`); returns its process
    // id.
    pid_t Start(std::vector<std::string> args, int outputFd = -1) {
        args.insert(args.begin(), BRENVO_DIMMER_PATH);
        ProgramOutput output{m_output};
        output.outFd = outputFd;
        const pid_t pid = StartProgram(args, LanguageEnvironment(m_locale), output);
        EXPECT_GT(pid, 0);
        if (pid > 0) {
            m_started.push_back(pid);
        }
        return pid;
    }
    // The exit status, or -1 when the program did not end within the time.
    static int Wait(pid_t pid, std::chrono::milliseconds limit) {
        const auto end = std::chrono::steady_clock::now() + limit;
        int status = 0;
        while (waitpid(pid, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > end) {
                kill(pid, SIGKILL);
                waitpid(pid, &status, 0);
                return -1;
            }
            std::this_thread::sleep_for(10ms);
        }
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    bool Published(const std::string& name, bool present) {
        for (int i = 0; i < 300; ++i) {
            if ((access((m_runtime.PortsPath() + "/" + name).c_str(), F_OK) == 0) == present) {
                return true;
            }
            std::this_thread::sleep_for(10ms);
        }
        return false;
    }
    std::string Output() const {
        std::ifstream in(m_output);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    TempRuntimeDir m_runtime;
    std::string m_output = m_runtime.Path() + "/out.txt";
    std::string m_locale = "C.UTF-8";  // the language it speaks: English unless changed
    std::vector<pid_t> m_started;
};

TEST_F(BrenvoDimmerProcessTest, PublishesAnswersAndUnpublishesOnEachSignal) {
    for (int signal : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(signal);
        const pid_t pid = Start({"--model", "nwe-r8p"});
        ASSERT_GT(pid, 0);
        ASSERT_TRUE(Published("EMU0", true));
        ASSERT_TRUE(SerialOpen(193));
        EXPECT_EQ(SerialIdentify(), "QELVORN NWE Dimmer R8P");
        SendOutputLevel(nullptr, 0, 777);
        SerialClose();
        std::this_thread::sleep_for(300ms);  // the level has no reply: let it arrive
        kill(pid, signal);
        EXPECT_EQ(Wait(pid, 3000ms), 0);
        EXPECT_TRUE(Published("EMU0", false));
        const std::string out = Output();
        EXPECT_NE(out.find("NWE Dimmer R8P on EMU0"), std::string::npos) << out;
        EXPECT_NE(out.find("1:   777"), std::string::npos) << out;
        EXPECT_NE(out.find("stopped, EMU0 removed"), std::string::npos) << out;
    }
}

TEST_F(BrenvoDimmerProcessTest, CableModelPublishesTheCableWithItsDescriptionAndUnplugsOnSignal) {
    const pid_t pid = Start({"--model", "kav5806"});
    ASSERT_TRUE(Published("CABLE0", true));
    std::ifstream description(m_runtime.PortsPath() + "/CABLE0.description");
    std::string text;
    std::getline(description, text);
    EXPECT_EQ(text, "QELVORN-Configuration-Cable");
    kill(pid, SIGUSR2);
    EXPECT_TRUE(Published("CABLE0", false));
    EXPECT_TRUE(Published("CABLE0.description", false));
    kill(pid, SIGUSR2);
    EXPECT_TRUE(Published("CABLE0.description", true));
    kill(pid, SIGTERM);
    EXPECT_EQ(Wait(pid, 3000ms), 0);
    EXPECT_TRUE(Published("CABLE0", false));
    EXPECT_TRUE(Published("CABLE0.description", false));
}

// Its view piped into a reader that has gone (`| head`): it goes on answering, and still removes
// its port when it is stopped.
TEST_F(BrenvoDimmerProcessTest, AClosedOutputPipeDoesNotEndItWithoutCleanUp) {
    int pipeFds[2];
    ASSERT_EQ(pipe2(pipeFds, O_CLOEXEC), 0);
    close(pipeFds[0]);
    const pid_t pid = Start({"--model", "t5qm"}, pipeFds[1]);
    close(pipeFds[1]);
    ASSERT_TRUE(Published("EMU0", true));
    std::this_thread::sleep_for(300ms);  // its first frames meet the closed pipe
    ASSERT_TRUE(SerialOpen(193));
    EXPECT_EQ(SerialIdentify(), "QELVORN DMX-LED-Dimmer T5QM");
    SerialClose();
    kill(pid, SIGTERM);
    EXPECT_EQ(Wait(pid, 3000ms), 0);
    EXPECT_TRUE(Published("EMU0", false));
}

TEST_F(BrenvoDimmerProcessTest, HelpAndBadOptionsEndAtOnce) {
    EXPECT_EQ(Wait(Start({"--help"}), 3000ms), 0);
    EXPECT_NE(Output().find("--model"), std::string::npos);
    EXPECT_EQ(Wait(Start({"--model", "qp9"}), 3000ms), 2);
    EXPECT_NE(Output().find("unknown model qp9"), std::string::npos);
    EXPECT_NE(access((m_runtime.PortsPath() + "/EMU0").c_str(), F_OK), 0);
    EXPECT_NE(access((m_runtime.PortsPath() + "/CABLE0").c_str(), F_OK), 0);
}

TEST_F(BrenvoDimmerProcessTest, UnderAGermanLocaleItsHelpMessagesAndViewAreGerman) {
    m_locale = "de_DE.UTF-8";
    EXPECT_EQ(Wait(Start({"--help"}), 3000ms), 0);
    const std::string help = Output();
    for (const char* part : {"Aufruf: brenvo-dimmer [--model MODELL]",
                             "  qp4           Kabel    4 Ausg\xC3\xA4nge, meldet sich als"}) {
        EXPECT_NE(help.find(part), std::string::npos) << part << "\n" << help;
    }
    EXPECT_EQ(Wait(Start({"--model", "qp9"}), 3000ms), 2);
    EXPECT_EQ(Output(), "brenvo-dimmer: unbekanntes Modell qp9\n(--help nennt die Optionen)\n");

    const pid_t pid = Start({"--model", "qp4"});
    ASSERT_TRUE(Published("CABLE0", true));
    kill(pid, SIGTERM);
    EXPECT_EQ(Wait(pid, 3000ms), 0);
    const std::string view = Output();
    for (const char* part :
         {"Geschriebene Tabellen: keine", "brenvo-dimmer: beendet, CABLE0 entfernt"}) {
        EXPECT_NE(view.find(part), std::string::npos) << part << "\n" << view;
    }
}

TEST_F(BrenvoDimmerProcessTest, WithoutARuntimeFolderItSaysWhy) {
    unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(Wait(Start({"--model", "qp1"}), 3000ms), 1);
    EXPECT_NE(Output().find("XDG_RUNTIME_DIR"), std::string::npos) << Output();
}

}  // namespace
