// Times SerialRequest against the emulator on a pseudo-terminal at 115200 baud:
//  - from the last byte of a 512-byte reply leaving the emulator to the request's return,
//  - the whole request with a silent device and a 50 ms time-out,
//  - the CPU time per request: the whole process, and the transport's alone (the emulator's
//    threads left out).
// Usage: brenvo_serial_request_bench [runs]   (default 200)
#include <dirent.h>
#include <stdlib.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

#include "emulator/PtyPlayer.h"
#include "link/SerialTransport.h"
#include "tests/support/TempRuntimeDir.h"

namespace {

std::int64_t Now(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return static_cast<std::int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

// The threads of this process other than the calling one: with no request under way, the
// emulator's.
std::vector<pid_t> OtherThreads() {
    std::vector<pid_t> tids;
    const pid_t self = static_cast<pid_t>(::syscall(SYS_gettid));
    if (DIR* dir = ::opendir("/proc/self/task")) {
        while (const dirent* e = ::readdir(dir)) {
            const pid_t tid = static_cast<pid_t>(std::atoi(e->d_name));
            if (tid > 0 && tid != self) {
                tids.push_back(tid);
            }
        }
        ::closedir(dir);
    }
    return tids;
}

// The CPU time of these threads, as the kernel's per-thread clock gives it.
std::int64_t ThreadsCpu(const std::vector<pid_t>& tids) {
    std::int64_t sum = 0;
    for (const pid_t tid : tids) {
        sum += Now(static_cast<clockid_t>((~static_cast<clockid_t>(tid) << 3) | 6));
    }
    return sum;
}

class TableDevice final : public DeviceResponder {
public:
    explicit TableDevice(bool silent) : m_silent(silent) {}
    DeviceReply OnReceive(const std::uint8_t*, std::size_t) override {
        DeviceReply reply;
        if (!m_silent) {
            reply.bytes.assign(512, 0x5a);
        }
        return reply;
    }

private:
    bool m_silent;
};

double Percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    size_t index = static_cast<size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
    return values[index];
}

struct Figures {
    std::vector<double> ms;              // the measured span per run
    std::vector<double> cpuMs;           // process CPU per run
    std::vector<double> transportCpuMs;  // the same without the emulator's threads
    int incomplete = 0;                  // runs that did not get the whole reply
};

// False when the emulator or its port cannot be opened.
bool Run(bool silent, int runs, Figures& f) {
    TableDevice device(silent);
    PtyPlayer::Options options;
    options.baudRate = SERIAL_BAUD_RATE;
    options.publish = PtyPlayer::Publish::SerialPort;
    PtyPlayer player(device, options);
    if (!player.Start() || !SerialOpen(player.ComNumber())) {
        std::fprintf(stderr, "cannot start the emulator or open its port\n");
        return false;
    }
    const BYTE request[] = {0xf4, 0x00};
    std::vector<BYTE> reply(512);
    const std::vector<pid_t> emulator = OtherThreads();
    for (int i = 0; i < runs; ++i) {
        DWORD count = 0;
        const std::int64_t emulator0 = ThreadsCpu(emulator);
        const std::int64_t cpu0 = Now(CLOCK_PROCESS_CPUTIME_ID);
        const std::int64_t start = Now(CLOCK_MONOTONIC);
        SerialRequest(request, 2, reply.data(), 512, &count, silent ? 50 : 100);
        const std::int64_t end = Now(CLOCK_MONOTONIC);
        const std::int64_t cpu = Now(CLOCK_PROCESS_CPUTIME_ID) - cpu0;
        f.cpuMs.push_back(static_cast<double>(cpu) / 1e6);
        f.transportCpuMs.push_back(static_cast<double>(cpu - (ThreadsCpu(emulator) - emulator0)) /
                                   1e6);
        if (silent) {
            f.ms.push_back(static_cast<double>(end - start) / 1e6);
        } else if (count == 512) {
            f.ms.push_back(static_cast<double>(end - player.LastReplyEndNs()) / 1e6);
        } else {
            ++f.incomplete;
        }
        usleep(2000);
    }
    SerialClose();
    return true;
}

void Print(const char* what, const Figures& f) {
    if (f.ms.empty()) {
        std::printf("%s: no complete run\n", what);
        return;
    }
    std::printf("%-42s median %7.3f ms  p95 %7.3f ms  max %7.3f ms  (%zu runs, %d incomplete)\n",
                what, Percentile(f.ms, 0.5), Percentile(f.ms, 0.95),
                *std::max_element(f.ms.begin(), f.ms.end()), f.ms.size(), f.incomplete);
    std::printf("%-42s median %7.3f ms CPU per request (transport alone %.3f ms, p95 %.3f ms)\n",
                "", Percentile(f.cpuMs, 0.5), Percentile(f.transportCpuMs, 0.5),
                Percentile(f.transportCpuMs, 0.95));
}

}  // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    // A private folder for the emulated port, removed at the end.
    TempRuntimeDir runtime;
    if (runtime.Path().empty()) {
        return 1;
    }
    Figures reply;
    Figures silent;
    if (!Run(false, runs, reply) || !Run(true, runs, silent)) {
        return 1;
    }
    Print("512-byte reply: last byte to return", reply);
    Print("silent device, 50 ms time-out: request", silent);
    return 0;
}
