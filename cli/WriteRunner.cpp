#include "cli/WriteRunner.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>

#include "cli/Console.h"
#include "cli/DimmerChoice.h"
#include "cli/ExitStatus.h"

namespace {

using Clock = std::chrono::steady_clock;
using nlohmann::json;

// The longest a child may stay silent: far beyond one table write with every time-out it can
// meet (pauses, the confirmation limit, bounded reads and writes).
constexpr auto kSilenceLimit = std::chrono::seconds(30);
constexpr int kPollMs = 100;

json OutcomeJson(const WriteOutcome& outcome) {
    return json{{"written", outcome.written},
                {"notConfirmed", outcome.notConfirmed},
                {"notWritten", outcome.notWritten},
                {"lost", outcome.lost},
                {"refused", outcome.refused}};
}

WriteOutcome OutcomeOf(const json& event) {
    WriteOutcome outcome;
    event.at("written").get_to(outcome.written);
    event.at("notConfirmed").get_to(outcome.notConfirmed);
    event.at("notWritten").get_to(outcome.notWritten);
    event.at("lost").get_to(outcome.lost);
    event.at("refused").get_to(outcome.refused);
    return outcome;
}

void SendLine(int fd, const json& event) {
    const std::string line = event.dump() + "\n";  // far below PIPE_BUF: one atomic write
    std::size_t sent = 0;
    while (sent < line.size()) {
        const ssize_t n = ::write(fd, line.data() + sent, line.size() - sent);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return;  // the parent has gone
        }
        sent += static_cast<std::size_t>(n);
    }
}

[[noreturn]] void RunChild(const DimmerWork& work, int fd, pid_t parent) {
    // Ends with the parent, whatever ends it, instead of writing on unseen.
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (::getppid() != parent) {
        ::_exit(1);  // it ended before the request took effect
    }
    FoundDimmer dimmer = work.dimmer;
    WriteOutcome outcome;
    if (OpenDimmerLink(dimmer.port, dimmer)) {
        outcome = WriteTables(dimmer, work.tables, [fd](int done, int output) {
            SendLine(fd, json{{"done", done}, {"output", output}});
        });
        CloseDimmerLink(dimmer);
    } else {
        outcome.refused = BusyPortText(dimmer.port.name) + ".";
        for (const OutputTable& item : work.tables) {
            outcome.notWritten.push_back(item.output);
        }
    }
    SendLine(fd, OutcomeJson(outcome));
    ::_exit(0);  // nothing of the parent's (buffers, exit handlers) runs twice
}

struct Child {
    DimmerWork* work = nullptr;
    pid_t pid = -1;
    int fd = -1;
    std::string pending;  // a line not complete yet
    int done = 0;         // tables before the one being written
    bool reported = false;
    Clock::time_point lastHeard;
};

// What is known of a child that ended or was stopped without its outcome: the tables it had
// reported as done were confirmed, the one under way was not.
WriteOutcome OutcomeWithoutReport(const Child& child, const std::string& reason) {
    WriteOutcome outcome;
    outcome.refused = reason;
    const std::vector<OutputTable>& tables = child.work->tables;
    for (std::size_t k = 0; k < tables.size(); ++k) {
        const int output = tables[k].output;
        if (static_cast<int>(k) < child.done) {
            outcome.written.push_back(output);
        } else if (static_cast<int>(k) == child.done) {
            outcome.notConfirmed = output;
        } else {
            outcome.notWritten.push_back(output);
        }
    }
    return outcome;
}

void TakeLines(Child& child, const char* bytes, std::size_t count) {
    child.pending.append(bytes, count);
    std::size_t end = 0;
    while ((end = child.pending.find('\n')) != std::string::npos) {
        const json event = json::parse(child.pending.substr(0, end), nullptr, false);
        child.pending.erase(0, end + 1);
        if (!event.is_object()) {
            continue;
        }
        try {
            if (event.contains("done")) {
                child.done = event.at("done").get<int>();
            } else {
                child.work->outcome = OutcomeOf(event);
                child.reported = true;
            }
        } catch (const json::exception&) {
            // not one of ours: ignored
        }
    }
}

// Waits for the child's end: it closed its pipe by ending, or it was killed.
int Reap(pid_t pid) {
    int status = 0;
    for (int i = 0; i < 200; ++i) {
        if (::waitpid(pid, &status, WNOHANG) == pid) {
            return status;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);
    return status;
}

void ShowProgress(const std::vector<Child>& children, int total, int dimmers) {
    int done = 0;
    for (const Child& child : children) {
        done += child.reported ? static_cast<int>(child.work->tables.size()) : child.done;
    }
    Console::Progress("Writing", total > 0 ? static_cast<double>(done) / total : 1.0,
                      std::to_string(done) + " of " + std::to_string(total) + " tables, " +
                          std::to_string(dimmers) + (dimmers == 1 ? " dimmer" : " dimmers"));
}

void RunAtOnce(std::vector<DimmerWork>& work) {
    std::vector<Child> children;
    int total = 0;
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t parent = ::getpid();
    for (DimmerWork& item : work) {
        if (!item.outcome.refused.empty()) {
            continue;
        }
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0) {
            RefuseWork(item, std::string("cannot start its writer: ") + std::strerror(errno));
            continue;
        }
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::close(fds[0]);
            for (const Child& other : children) {
                ::close(other.fd);
            }
            RunChild(item, fds[1], parent);
        }
        ::close(fds[1]);
        if (pid < 0) {
            ::close(fds[0]);
            RefuseWork(item, std::string("cannot start its writer: ") + std::strerror(errno));
            continue;
        }
        Child child;
        child.work = &item;
        child.pid = pid;
        child.fd = fds[0];
        child.lastHeard = Clock::now();
        children.push_back(child);
        total += static_cast<int>(item.tables.size());
    }

    std::size_t running = children.size();
    while (running > 0) {
        ShowProgress(children, total, static_cast<int>(children.size()));
        std::vector<pollfd> polled;
        std::vector<Child*> owners;
        for (Child& child : children) {
            if (child.fd >= 0) {
                polled.push_back(pollfd{child.fd, POLLIN, 0});
                owners.push_back(&child);
            }
        }
        if (::poll(polled.data(), polled.size(), kPollMs) < 0 && errno != EINTR) {
            break;
        }
        for (std::size_t i = 0; i < polled.size(); ++i) {
            Child& child = *owners[i];
            bool ended = false;
            if (polled[i].revents != 0) {
                char buffer[4096];
                const ssize_t n = ::read(child.fd, buffer, sizeof buffer);
                if (n > 0) {
                    child.lastHeard = Clock::now();
                    TakeLines(child, buffer, static_cast<std::size_t>(n));
                } else if (n == 0 || errno != EINTR) {
                    ended = true;
                }
            }
            std::string stopped;
            if (!ended && !child.reported && Clock::now() - child.lastHeard > kSilenceLimit) {
                ::kill(child.pid, SIGKILL);
                stopped = "The dimmer's writer stopped answering and was ended.";
                ended = true;
            }
            if (!ended) {
                continue;
            }
            ::close(child.fd);
            child.fd = -1;
            --running;
            const int status = Reap(child.pid);
            if (!child.reported) {
                if (stopped.empty()) {
                    stopped = WIFSIGNALED(status) ? "The dimmer's writer ended with signal " +
                                                        std::to_string(WTERMSIG(status)) + "."
                                                  : "The dimmer's writer ended without a result.";
                }
                child.work->outcome = OutcomeWithoutReport(child, stopped);
                child.reported = true;
            }
        }
    }
    Console::EndProgress();
}

void RunHere(DimmerWork& item) {
    const int total = static_cast<int>(item.tables.size());
    item.outcome = WriteTables(item.dimmer, item.tables, [total](int done, int output) {
        Console::Progress("Writing", static_cast<double>(done) / total,
                          "Output " + std::to_string(output) + " (" + std::to_string(done + 1) +
                              " of " + std::to_string(total) + ")");
    });
    Console::EndProgress();
}

}  // namespace

void RefuseWork(DimmerWork& work, const std::string& reason) {
    work.outcome = WriteOutcome();
    work.outcome.refused = reason;
    for (const OutputTable& item : work.tables) {
        work.outcome.notWritten.push_back(item.output);
    }
}

int RunWrites(std::vector<DimmerWork>& work, bool atOnce) {
    if (atOnce) {
        RunAtOnce(work);
    } else {
        for (DimmerWork& item : work) {
            if (item.outcome.refused.empty()) {
                RunHere(item);
            }
        }
    }
    int status = kExitDone;
    for (const DimmerWork& item : work) {
        const std::string line = item.dimmer.port.name + ": " + WriteOutcomeText(item.outcome);
        if (item.outcome.Complete()) {
            Console::Result(line);
        } else {
            Console::Error(line);
            status = kExitIncomplete;
        }
    }
    return status;
}
