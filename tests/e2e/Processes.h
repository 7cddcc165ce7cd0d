// The real programs for end-to-end tests: a private X display (Xvfb), brenvo-dimmer and brenvo as
// processes, and xdotool to find and act on windows as a person would. Every process started here
// ends with the object that started it.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <utility>
#include <vector>

extern char** environ;

// The environment that makes a program speak the language of `locale` ("C.UTF-8",
// "de_DE.UTF-8") whatever the test's own: put before the inherited variables, it is what a program
// finds first.
inline std::vector<std::string> LanguageEnvironment(const std::string& locale) {
    return {"LANGUAGE=", "LC_ALL=", "LC_MESSAGES=", "LANG=" + locale};
}

// Where a started program writes: its output to the file `outPath` (made anew) or to our
// descriptor `outFd`; its errors likewise, or where its output goes when neither is given.
struct ProgramOutput {
    ProgramOutput(std::string path = "") : outPath(std::move(path)) {}  // NOLINT: a path is one
    std::string outPath;
    int outFd = -1;
    std::string errPath;
    int errFd = -1;
};

// Starts args[0] (looked up in PATH unless it names a file) with `env` ("NAME=value") before the
// inherited environment, in the folder `dir` when one is given. The process id, or -1.
inline pid_t StartProgram(std::vector<std::string> args, const std::vector<std::string>& env,
                          const ProgramOutput& output, const std::string& dir = "") {
    std::vector<std::string> environment = env;  // first, so that they are what it finds
    for (char** e = environ; *e != nullptr; ++e) {
        environment.emplace_back(*e);
    }
    std::vector<char*> argv;
    for (std::string& a : args) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (std::string& e : environment) {
        envp.push_back(e.data());
    }
    envp.push_back(nullptr);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    const auto place = [&files](int target, const std::string& path, int fd) {
        if (fd >= 0) {
            posix_spawn_file_actions_adddup2(&files, fd, target);
        } else {
            posix_spawn_file_actions_addopen(&files, target, path.c_str(),
                                             O_WRONLY | O_CREAT | O_TRUNC, 0600);
        }
    };
    place(STDOUT_FILENO, output.outPath, output.outFd);
    if (output.errFd < 0 && output.errPath.empty()) {
        posix_spawn_file_actions_adddup2(&files, STDOUT_FILENO, STDERR_FILENO);
    } else {
        place(STDERR_FILENO, output.errPath, output.errFd);
    }
    if (!dir.empty()) {
        posix_spawn_file_actions_addchdir_np(&files, dir.c_str());
    }
    pid_t pid = -1;
    if (posix_spawnp(&pid, argv[0], &files, nullptr, argv.data(), envp.data()) != 0) {
        pid = -1;
    }
    posix_spawn_file_actions_destroy(&files);
    return pid;
}

class Process {
public:
    Process() = default;
    explicit Process(pid_t pid) : m_pid(pid) {}
    // Starts `args` with the given extra environment ("NAME=value"); output to `logPath`.
    Process(const std::vector<std::string>& args, const std::vector<std::string>& env,
            const std::string& logPath)
        : m_pid(StartProgram(args, env, {logPath})) {}
    ~Process() { Stop(); }
    Process(Process&& other) noexcept : m_pid(other.m_pid) { other.m_pid = -1; }
    Process& operator=(Process&& other) noexcept {
        Stop();
        m_pid = other.m_pid;
        other.m_pid = -1;
        return *this;
    }

    bool Started() const { return m_pid > 0; }
    void Signal(int signal) const {
        if (m_pid > 0) {
            kill(m_pid, signal);
        }
    }
    bool Running() const { return m_pid > 0 && waitpid(m_pid, nullptr, WNOHANG) == 0; }
    // SIGTERM, then SIGKILL when it has not ended within a second.
    void Stop() {
        if (m_pid <= 0) {
            return;
        }
        kill(m_pid, SIGTERM);
        for (int i = 0; i < 100 && waitpid(m_pid, nullptr, WNOHANG) == 0; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }

private:
    pid_t m_pid = -1;
};

// A private X display (Xvfb), its name (":n") to `display`. The server picks a free number itself:
// /tmp/.X11-unix does not show the abstract sockets of other containers. Not Running() on failure.
inline Process StartDisplay(std::string& display, const std::string& logPath) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        return Process();
    }
    ProgramOutput output;
    output.outFd = fds[1];
    output.errPath = logPath;
    Process server(StartProgram(
        {"Xvfb", "-displayfd", "1", "-screen", "0", "1280x800x24", "-nolisten", "tcp", "-noreset"},
        {}, output));
    close(fds[1]);
    std::string number;
    pollfd wait = {fds[0], POLLIN, 0};
    char c = 0;
    while (number.size() < 8 && poll(&wait, 1, 10000) == 1 && read(fds[0], &c, 1) == 1 &&
           c != '\n') {
        number += c;
    }
    close(fds[0]);
    if (c != '\n' || number.empty()) {
        return Process();  // the server, if any, ends here
    }
    display = ":" + number;
    return server;
}

// Runs `args` in the folder `dir` to its end, standard output and error into files ("/dev/null"
// to drop them), with the variables of `env` first; a run past `limitMs` is killed. Its exit
// status, or -1 when it did not exit.
inline int RunToEnd(std::vector<std::string> args, const std::string& dir,
                    const std::string& outPath, const std::string& errPath, int limitMs = 60000,
                    const std::vector<std::string>& env = {}) {
    ProgramOutput output{outPath};
    output.errPath = errPath;
    const pid_t pid = StartProgram(std::move(args), env, output, dir);
    int status = -1;
    if (pid > 0) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
        while (waitpid(pid, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > end) {
                kill(pid, SIGKILL);
                waitpid(pid, &status, 0);
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The standard output of a command, or "" when it failed.
inline std::string Capture(const std::string& command) {
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[512];
        size_t n = 0;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) {
            out.append(buffer, n);
        }
        if (pclose(pipe) != 0) {
            return std::string();
        }
    }
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) {
        out.pop_back();
    }
    return out;
}
