#include "platform/os/TtyDevice.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <string>

namespace {

// Unix98 pseudo-terminal slaves use majors 136 to 143.
constexpr unsigned kPtySlaveMajorFirst = 136;
constexpr unsigned kPtySlaveMajorLast = 143;

// The last part of a reply that a read waits for on the line, byte by byte, rather than asleep.
constexpr long long kLineWaitNs = 1000000;

bool IsPtySlave(dev_t device) {
    return major(device) >= kPtySlaveMajorFirst && major(device) <= kPtySlaveMajorLast;
}

long long NowMs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<long long>(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

speed_t SpeedCode(unsigned baud) {
    switch (baud) {
        case 1200:
            return B1200;
        case 2400:
            return B2400;
        case 4800:
            return B4800;
        case 9600:
            return B9600;
        case 19200:
            return B19200;
        case 38400:
            return B38400;
        case 57600:
            return B57600;
        case 115200:
            return B115200;
        case 230400:
            return B230400;
        case 460800:
            return B460800;
        case 500000:
            return B500000;
        case 921600:
            return B921600;
        case 1000000:
            return B1000000;
        case 2000000:
            return B2000000;
        case 3000000:
            return B3000000;
        case 4000000:
            return B4000000;
        default:
            return 0;
    }
}

// Whether `device` is some process's controlling terminal (a shell's, for example).
bool IsControllingTerminal(dev_t device) {
    DIR* proc = opendir("/proc");
    if (proc == nullptr) {
        return true;  // cannot tell: assume the worst
    }
    bool found = false;
    while (dirent* e = readdir(proc)) {
        if (e->d_name[0] < '1' || e->d_name[0] > '9') {
            continue;
        }
        std::string path = std::string("/proc/") + e->d_name + "/stat";
        FILE* f = std::fopen(path.c_str(), "re");
        if (f == nullptr) {
            continue;  // the process ended meanwhile
        }
        char line[1024];
        size_t n = std::fread(line, 1, sizeof line - 1, f);
        std::fclose(f);
        line[n] = '\0';
        // The command name may hold anything, even ')': the fields follow its last ')'.
        char* end = nullptr;
        for (char* p = line; *p != '\0'; ++p) {
            if (*p == ')') {
                end = p;
            }
        }
        char state = 0;
        int ppid = 0, pgrp = 0, session = 0;
        unsigned long ttyNr = 0;
        if (end == nullptr ||
            std::sscanf(end + 1, " %c %d %d %d %lu", &state, &ppid, &pgrp, &session, &ttyNr) != 5) {
            continue;
        }
        unsigned ttyMajor = static_cast<unsigned>((ttyNr >> 8) & 0xfff);
        unsigned ttyMinor = static_cast<unsigned>((ttyNr & 0xff) | ((ttyNr >> 12) & 0xfff00));
        if (ttyNr != 0 && ttyMajor == major(device) && ttyMinor == minor(device)) {
            found = true;
            break;
        }
    }
    closedir(proc);
    return found;
}

}  // namespace

TtyDevice::TtyDevice(int fd, int cancelFd) : m_fd(fd), m_cancelFd(cancelFd) {}

TtyDevice::~TtyDevice() {
    close(m_fd);
    close(m_cancelFd);
}

std::unique_ptr<TtyDevice> TtyDevice::Open(const PortLocation& where) {
    int fd = open(where.devicePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return nullptr;
    }
    struct stat st = {};
    bool usable = fstat(fd, &st) == 0 && S_ISCHR(st.st_mode) && isatty(fd) == 1;
    if (usable && where.kind == PortLocation::Kind::Real) {
        usable = st.st_rdev == where.device;
    } else if (usable) {
        // A stale link whose number a shell has reused must never be written to.
        usable =
            IsPtySlave(st.st_rdev) && st.st_uid == getuid() && !IsControllingTerminal(st.st_rdev);
    }
    // Exclusive, as a port is on Windows. The emulator keeps its slave open, so on an emulated
    // port an exclusive-tty flag would outlive us: the lock alone does it there.
    usable = usable && flock(fd, LOCK_EX | LOCK_NB) == 0;
    if (usable && where.kind == PortLocation::Kind::Real) {
        usable = ioctl(fd, TIOCEXCL) == 0;
    }
    int cancelFd = usable ? eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK) : -1;
    if (cancelFd < 0) {
        close(fd);
        return nullptr;
    }
    return std::unique_ptr<TtyDevice>(new TtyDevice(fd, cancelFd));
}

bool TtyDevice::Configure(const TtyLineSettings& s) {
    termios t{};
    if (tcgetattr(m_fd, &t) != 0) {
        return false;
    }
    speed_t speed = SpeedCode(s.baudRate);
    if (speed == 0 || s.dataBits < 5 || s.dataBits > 8 || (s.stopBits != 1 && s.stopBits != 2)) {
        return false;
    }
    cfmakeraw(&t);
    cfsetispeed(&t, speed);
    cfsetospeed(&t, speed);
    static const tcflag_t sizes[] = {CS5, CS6, CS7, CS8};
    t.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
    t.c_cflag |= sizes[s.dataBits - 5] | CLOCAL | CREAD;
    if (s.parity == 'O') {
        t.c_cflag |= PARENB | PARODD;
    } else if (s.parity == 'E') {
        t.c_cflag |= PARENB;
    } else if (s.parity != 'N') {
        return false;
    }
    if (s.stopBits == 2) {
        t.c_cflag |= CSTOPB;
    }
    if (s.rtsCtsFlow) {
        t.c_cflag |= CRTSCTS;
    }
    t.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK);
    if (s.xonXoffFlow) {
        t.c_iflag |= IXON | IXOFF;
    }
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    if (tcsetattr(m_fd, TCSANOW, &t) != 0) {
        return false;
    }
    // A start bit, the data bits, a parity bit and the stop bits.
    const int bits = 1 + s.dataBits + (s.parity == 'N' ? 0 : 1) + s.stopBits;
    m_byteNs = 1000000000LL * bits / s.baudRate;
    return true;
}

bool TtyDevice::SetModemLine(int line, bool raised) {
    int bits = line;
    if (ioctl(m_fd, raised ? TIOCMBIS : TIOCMBIC, &bits) == 0) {
        return true;
    }
    return errno == ENOTTY || errno == EINVAL;  // pseudo-terminals have no modem lines
}

void TtyDevice::RequestLowLatency() {
    // The default 16 ms latency timer of USB adapters would hold back the end of a reply.
    serial_struct info{};
    if (ioctl(m_fd, TIOCGSERIAL, &info) == 0 && (info.flags & ASYNC_LOW_LATENCY) == 0) {
        info.flags |= ASYNC_LOW_LATENCY;
        ioctl(m_fd, TIOCSSERIAL, &info);
    }
}

bool TtyDevice::Purge(bool receive, bool transmit) {
    if (!receive && !transmit) {
        return true;
    }
    return tcflush(m_fd, receive && transmit ? TCIOFLUSH : (receive ? TCIFLUSH : TCOFLUSH)) == 0;
}

std::size_t TtyDevice::Write(const void* data, std::size_t count, int timeoutMs) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    std::size_t done = 0;
    while (done < count && !HasHungUp()) {
        ssize_t n = write(m_fd, bytes + done, count - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 && errno != EAGAIN) {
            if (errno == EIO) {
                NoteHangUp();
            }
            break;
        }
        pollfd p{m_fd, POLLOUT, 0};
        if (poll(&p, 1, timeoutMs) <= 0) {
            break;
        }
        if ((p.revents & (POLLHUP | POLLERR)) != 0) {
            NoteHangUp();
            break;
        }
    }
    return done;
}

TtyDevice::ReadResult TtyDevice::Read(void* buffer, std::size_t count, std::size_t& got) {
    auto* bytes = static_cast<unsigned char*>(buffer);
    got = 0;
    while (got < count) {
        if (!HasHungUp()) {
            ssize_t n = read(m_fd, bytes + got, count - got);
            if (n > 0) {
                got += static_cast<std::size_t>(n);
                continue;
            }
            if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
                NoteHangUp();
                return got > 0 ? ReadResult::Bytes : ReadResult::HungUp;
            }
        }
        // Under way: asleep through all but the last millisecond of what is missing.
        const long long missingNs = static_cast<long long>(count - got) * m_byteNs;
        const bool paced = got > 0 && missingNs > kLineWaitNs;
        pollfd p[2] = {{m_cancelFd, POLLIN, 0}, {m_fd, POLLIN, 0}};
        // Once the device is gone only the cancel can end the wait.
        const nfds_t fds = paced || HasHungUp() ? 1 : 2;
        const long long sleepNs = missingNs - kLineWaitNs;
        const timespec pace{static_cast<time_t>(sleepNs / 1000000000LL),
                            static_cast<long>(sleepNs % 1000000000LL)};
        if (ppoll(p, fds, paced ? &pace : nullptr, nullptr) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return got > 0 ? ReadResult::Bytes : ReadResult::Nothing;
        }
        if ((p[0].revents & POLLIN) != 0) {
            if (got > 0) {
                return ReadResult::Bytes;  // the cancel stays pending for the next read
            }
            std::uint64_t value = 0;
            ssize_t ignored = read(m_cancelFd, &value, sizeof value);
            (void)ignored;
            return ReadResult::Cancelled;
        }
    }
    return ReadResult::Bytes;
}

void TtyDevice::Cancel() {
    std::uint64_t one = 1;
    ssize_t ignored = write(m_cancelFd, &one, sizeof one);
    (void)ignored;
}

std::size_t TtyDevice::ReadFor(void* buffer, std::size_t count, int timeoutMs) {
    auto* bytes = static_cast<unsigned char*>(buffer);
    std::size_t done = 0;
    // One deadline for the whole read: the terminal's own timer restarts at every byte.
    const long long deadline = NowMs() + (timeoutMs > 0 ? timeoutMs : 0);
    while (done < count && !HasHungUp()) {
        ssize_t n = read(m_fd, bytes + done, count - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) {
            NoteHangUp();
            break;
        }
        long long left = deadline - NowMs();
        if (left <= 0) {
            break;
        }
        pollfd p{m_fd, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(left)) == 0) {
            break;
        }
    }
    return done;
}

bool TtyDevice::ProbeHangUp() {
    if (!HasHungUp()) {
        pollfd p{m_fd, 0, 0};  // hang-ups and errors are reported whatever is asked for
        if (poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
            NoteHangUp();
        }
    }
    return HasHungUp();
}
