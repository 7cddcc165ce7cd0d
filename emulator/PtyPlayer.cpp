#include "emulator/PtyPlayer.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <sys/prctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>

#include "platform/os/EmulatedPortFolder.h"
#include "platform/os/PortDirectory.h"

namespace {

constexpr std::int64_t kNsPerSecond = 1000000000;
// Pacing sleeps in slices, so that Stop() is never held up by a long late reply.
constexpr std::int64_t kSliceNs = 20000000;

std::int64_t NowNs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<std::int64_t>(t.tv_sec) * kNsPerSecond + t.tv_nsec;
}

}  // namespace

PtyPlayer::PtyPlayer(DeviceResponder& responder, Options options)
    : m_responder(responder), m_options(std::move(options)) {}

PtyPlayer::~PtyPlayer() {
    Stop();
}

int PtyPlayer::ComNumber() const {
    if (m_options.publish != Publish::SerialPort || m_publishedName.size() <= 3) {
        return 0;
    }
    return PortDirectory::kFirstEmulatedCom + std::atoi(m_publishedName.c_str() + 3);
}

bool PtyPlayer::Start() {
    if (m_thread.joinable() || m_options.baudRate == 0) {
        return false;
    }
    // Non-blocking: a reply into a full buffer must not keep Stop() waiting.
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0) {
        Stop();
        return false;
    }
    char name[64];
    if (ptsname_r(m_master, name, sizeof name) != 0) {
        Stop();
        return false;
    }
    m_slavePath = name;
    // Held open for the whole run: without a slave the master reads EIO. Never locked, so that
    // the program's exclusive open succeeds.
    m_slave = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios t{};
    if (m_slave < 0 || tcgetattr(m_slave, &t) != 0) {
        Stop();
        return false;
    }
    // Raw at once: a new slave echoes and translates line ends.
    cfmakeraw(&t);
    if (tcsetattr(m_slave, TCSANOW, &t) != 0) {
        Stop();
        return false;
    }
    m_stopFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (m_stopFd < 0) {
        Stop();
        return false;
    }
    if (m_options.publish != Publish::None) {
        EmulatedPortFolder folder(true);
        const std::string* serial =
            m_options.serialNumber.empty() ? nullptr : &m_options.serialNumber;
        if (m_options.publish == Publish::SerialPort) {
            m_publishedName = folder.Publish("EMU", m_slavePath, nullptr, serial);
        } else {
            m_publishedName = folder.Publish("CABLE", m_slavePath, &m_options.description, serial);
        }
        if (m_publishedName.empty()) {
            Stop();
            return false;
        }
    }
    m_stop.store(false, std::memory_order_release);
    m_hungUp.store(false, std::memory_order_release);
    m_thread = std::thread([this] { Run(); });
    return true;
}

void PtyPlayer::Stop() {
    m_stop.store(true, std::memory_order_release);
    if (m_stopFd >= 0) {
        std::uint64_t one = 1;
        ssize_t ignored = write(m_stopFd, &one, sizeof one);
        (void)ignored;
    }
    if (m_thread.joinable()) {
        m_thread.join();
    }
    if (!m_publishedName.empty()) {
        EmulatedPortFolder(false).Unpublish(m_publishedName, m_slavePath);
        m_publishedName.clear();
    }
    for (int* fd : {&m_master, &m_slave, &m_stopFd}) {
        if (*fd >= 0) {
            close(*fd);
            *fd = -1;
        }
    }
}

bool PtyPlayer::SleepUntil(std::int64_t deadlineNs) {
    for (;;) {
        if (m_stop.load(std::memory_order_acquire)) {
            return false;
        }
        std::int64_t now = NowNs();
        if (now >= deadlineNs) {
            return true;
        }
        std::int64_t until = deadlineNs - now > kSliceNs ? now + kSliceNs : deadlineNs;
        timespec t{static_cast<time_t>(until / kNsPerSecond),
                   static_cast<long>(until % kNsPerSecond)};
        // Absolute wake-up times: pacing errors do not add up over a long reply.
        clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &t, nullptr);
    }
}

bool PtyPlayer::Send(const DeviceReply& reply) {
    const std::int64_t byteNs = 10 * kNsPerSecond / m_options.baudRate;
    const std::int64_t start = NowNs() + static_cast<std::int64_t>(reply.delayMs) * 1000000;
    size_t sent = 0;
    while (sent < reply.bytes.size()) {
        // Byte k leaves the wire once its ten bits have passed.
        if (!SleepUntil(start + static_cast<std::int64_t>(sent + 1) * byteNs)) {
            return false;
        }
        size_t due = static_cast<size_t>((NowNs() - start) / byteNs);
        if (due > reply.bytes.size()) {
            due = reply.bytes.size();
        }
        if (due <= sent) {
            due = sent + 1;
        }
        ssize_t n = write(m_master, reply.bytes.data() + sent, due - sent);
        if (n < 0) {
            if (errno == EAGAIN) {
                // Nobody reads the other side and its buffer is full: wait, but stay stoppable.
                pollfd p[2] = {{m_stopFd, POLLIN, 0}, {m_master, POLLOUT, 0}};
                poll(p, 2, 100);
                continue;
            }
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        sent += static_cast<size_t>(n);
        m_lastReplyEndNs.store(NowNs(), std::memory_order_release);
    }
    return true;
}

void PtyPlayer::HangUp() {
    // Closing the master flushes what the other side has not read yet. Let the bytes reach its
    // input queue (the kernel moves them there a little later), then let it take them.
    SleepUntil(NowNs() + 20000000);
    const std::int64_t giveUp = NowNs() + 200000000;
    int pending = 0;
    while (ioctl(m_slave, FIONREAD, &pending) == 0 && pending > 0 && NowNs() < giveUp &&
           SleepUntil(NowNs() + 1000000)) {
    }
    close(m_master);
    m_master = -1;
    m_hungUp.store(true, std::memory_order_release);
}

void PtyPlayer::Run() {
    // The default 50 us timer slack would smear the pacing of 87 us bytes at 115200 baud.
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    std::uint8_t buffer[4096];
    while (!m_stop.load(std::memory_order_acquire)) {
        pollfd p[2] = {{m_stopFd, POLLIN, 0}, {m_master, POLLIN, 0}};
        if (poll(p, 2, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;
        }
        if ((p[0].revents & POLLIN) != 0) {
            return;
        }
        if ((p[1].revents & POLLIN) == 0) {
            // No slave reader yet is impossible (we hold one); anything else ends the play.
            if ((p[1].revents & (POLLERR | POLLNVAL)) != 0) {
                return;
            }
            continue;
        }
        ssize_t n = read(m_master, buffer, sizeof buffer);
        if (n <= 0) {
            if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
                continue;
            }
            return;
        }
        m_received.fetch_add(static_cast<std::uint64_t>(n), std::memory_order_acq_rel);
        DeviceReply reply = m_responder.OnReceive(buffer, static_cast<size_t>(n));
        if (!Send(reply)) {
            return;
        }
        if (reply.hangUp) {
            HangUp();
            return;
        }
    }
}
