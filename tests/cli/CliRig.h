// A rig of emulated dimmers for brenvo-cli: each plays in this process on its own pseudo-terminal,
// published in a private runtime folder as the next CABLEn or EMUn, so that a test sees exactly
// what reached it (bytes, tables, EEPROM) while the real program runs against it.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "emulator/DimmerEmulator.h"
#include "emulator/PtyPlayer.h"
#include "tests/e2e/Processes.h"
#include "tests/support/TempRuntimeDir.h"

struct CliRun {
    int status = -1;  // the exit status; -1 when it did not exit
    std::string out;
    std::string err;
};

class CliRig : public ::testing::Test {
protected:
    using Clock = std::chrono::steady_clock;

    struct Dimmer {
        std::unique_ptr<DimmerEmulator> emulator;
        std::unique_ptr<PtyPlayer> player;
    };

    // brenvo-cli started in the runtime folder, its output into files (no terminal: no bar).
    class Running {
    public:
        Running(CliRig& rig, std::vector<std::string> args, int stderrFd = -1) : m_rig(rig) {
            args.insert(args.begin(), BRENVO_CLI_PATH);
            ProgramOutput output{rig.Path("cli.out")};
            output.errFd = stderrFd;
            if (stderrFd < 0) {
                output.errPath = rig.Path("cli.err");
            }
            m_pid =
                StartProgram(args, LanguageEnvironment(rig.m_locale), output, rig.m_runtime.Path());
        }
        ~Running() { Wait(std::chrono::seconds(1)); }
        Running(const Running&) = delete;
        Running& operator=(const Running&) = delete;

        pid_t Pid() const { return m_pid; }
        void Signal(int signal) const { ::kill(m_pid, signal); }
        // Its end within `limit` (killed after it), with what it wrote.
        CliRun Wait(std::chrono::milliseconds limit = std::chrono::seconds(90)) {
            CliRun run;
            if (m_pid <= 0) {
                return run;
            }
            int status = 0;
            const auto end = Clock::now() + limit;
            while (::waitpid(m_pid, &status, WNOHANG) == 0) {
                if (Clock::now() > end) {
                    ::kill(m_pid, SIGKILL);
                    ::waitpid(m_pid, &status, 0);
                    break;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
            m_pid = -1;
            run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            run.out = Read(m_rig.Path("cli.out"));
            run.err = Read(m_rig.Path("cli.err"));
            return run;
        }

    private:
        CliRig& m_rig;
        pid_t m_pid = -1;
    };

    // Plays `model` ("qp4", "kav5806", "nwe-r8p"...), published as the next CABLEn or EMUn. Only
    // the pauses matter here: the replies go faster than the links' rates.
    DimmerEmulator& Add(const char* model, DimmerFault fault = DimmerFault::None,
                        const std::string& serialNumber = "") {
        const DimmerModel* found = FindDimmerModel(model);
        EXPECT_NE(found, nullptr) << model;
        Dimmer dimmer;
        dimmer.emulator = std::make_unique<DimmerEmulator>(*found);
        dimmer.emulator->SetFault(fault);
        PtyPlayer::Options options;
        options.baudRate = found->link == DimmerLink::Cable ? 460800 : 2000000;
        options.publish = found->link == DimmerLink::Cable ? PtyPlayer::Publish::Cable
                                                           : PtyPlayer::Publish::SerialPort;
        options.description = "QELVORN-Configuration-Cable";
        options.serialNumber = serialNumber;
        dimmer.player = std::make_unique<PtyPlayer>(*dimmer.emulator, options);
        EXPECT_TRUE(dimmer.player->Start()) << model;
        m_dimmers.push_back(std::move(dimmer));
        return *m_dimmers.back().emulator;
    }

    DimmerEmulator& Emulator(std::size_t k) { return *m_dimmers.at(k).emulator; }
    PtyPlayer& Player(std::size_t k) { return *m_dimmers.at(k).player; }

    // Tables received by dimmer k, output by output (index 0 is Output 1).
    std::array<unsigned, OUTPUT_COUNT_MAX> TableWrites(std::size_t k) const {
        return m_dimmers.at(k).emulator->Snapshot().tableWrites;
    }
    // Every table and EEPROM byte received by the whole rig.
    unsigned Received() const {
        unsigned total = 0;
        for (const Dimmer& d : m_dimmers) {
            const DimmerSnapshot s = d.emulator->Snapshot();
            for (unsigned n : s.tableWrites) {
                total += n;
            }
            total += s.eepromBytes;
        }
        return total;
    }

    // Another program holds dimmer k's port (as an open of brenvo-cli or the window would).
    int Hold(std::size_t k) {
        const int fd = ::open(Player(k).SlavePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        EXPECT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
        m_held.push_back(fd);
        return fd;
    }

    // Waits until dimmer k has received `bytes` bytes in all.
    bool WaitForBytes(std::size_t k, std::uint64_t bytes,
                      std::chrono::milliseconds limit = std::chrono::seconds(20)) {
        const auto end = Clock::now() + limit;
        while (Player(k).ReceivedCount() < bytes) {
            if (Clock::now() > end) {
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return true;
    }

    CliRun Cli(std::vector<std::string> args) { return Running(*this, std::move(args)).Wait(); }

    std::string Path(const std::string& name) const { return m_runtime.Path() + "/" + name; }
    void WriteFile(const std::string& name, const std::string& contents) const {
        std::ofstream(Path(name), std::ios::binary) << contents;
    }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    // The numbers 0, step, 2 step... one a line.
    static std::string Lines(int count, long step) {
        std::string text;
        for (int i = 0; i < count; ++i) {
            text += std::to_string(i * step) + "\n";
        }
        return text;
    }

    void TearDown() override {
        for (int fd : m_held) {
            ::close(fd);
        }
        m_dimmers.clear();
    }

    TempRuntimeDir m_runtime;
    std::string m_locale = "C.UTF-8";  // the language brenvo-cli speaks: English unless changed
    std::vector<Dimmer> m_dimmers;
    std::vector<int> m_held;
};

inline bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}
