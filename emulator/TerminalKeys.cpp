#include "emulator/TerminalKeys.h"

#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

namespace {
// Reading or setting the terminal from the background would stop the program.
bool InForeground() {
    return tcgetpgrp(STDIN_FILENO) == getpgrp();
}

void SetSignal(int signal, void (*handler)(int), struct sigaction* previous) {
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, previous);
}
}  // namespace

TerminalKeys::TerminalKeys() {
    if (!isatty(STDIN_FILENO) || !isatty(STDOUT_FILENO) || !InForeground() ||
        tcgetattr(STDIN_FILENO, &m_saved) != 0) {
        return;
    }
    termios keys = m_saved;
    keys.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));  // ISIG stays: Ctrl-C still ends it
    keys.c_cc[VMIN] = 1;
    keys.c_cc[VTIME] = 0;
    m_taken = tcsetattr(STDIN_FILENO, TCSANOW, &keys) == 0;
    m_reading = m_taken;
    // Sent to the background between the check and the read, a read fails instead of stopping
    // the whole dimmer.
    SetSignal(SIGTTIN, SIG_IGN, nullptr);
}

TerminalKeys::~TerminalKeys() {
    if (!m_taken) {
        return;
    }
    // Sent to the background meanwhile, it must still restore the terminal without being stopped.
    struct sigaction previous = {};
    SetSignal(SIGTTOU, SIG_IGN, &previous);
    tcsetattr(STDIN_FILENO, TCSANOW, &m_saved);
    sigaction(SIGTTOU, &previous, nullptr);
}

int TerminalKeys::Wait(int timeoutMs) {
    if (m_reading && InForeground()) {
        pollfd p{STDIN_FILENO, POLLIN, 0};
        if (poll(&p, 1, timeoutMs) != 1) {
            return -1;  // the time passed, or a signal came
        }
        unsigned char key = 0;
        const ssize_t n = read(STDIN_FILENO, &key, 1);
        if (n == 1) {
            return key;
        }
        if (n == 0 || (errno != EIO && errno != EINTR && errno != EAGAIN)) {
            m_reading = false;  // the terminal is gone
        }
    }
    poll(nullptr, 0, timeoutMs);
    return -1;
}
