#include "cli/WriteRunner.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>

#include "cli/Console.h"
#include "cli/DimmerChoice.h"
#include "cli/Interruption.h"
#include "cli/Texts.h"

namespace {

using Clock = std::chrono::steady_clock;
using nlohmann::json;

// The longest a child may stay silent: far beyond one table with every time-out it can meet
// (pauses, the confirmation limit, bounded reads and writes), and beyond a loaded machine's delays.
constexpr auto kSilenceLimit = std::chrono::seconds(30);
constexpr int kPollMs = 100;

json DifferencesJson(const std::vector<TableDifference>& differences) {
    json list = json::array();
    for (const TableDifference& d : differences) {
        list.push_back(json{{"output", d.output},
                            {"dmxValue", d.dmxValue},
                            {"file", d.file},
                            {"dimmer", d.dimmer}});
    }
    return list;
}

json OutcomeJson(const WriteOutcome& outcome) {
    return json{
        {"written", outcome.written},       {"notConfirmed", outcome.notConfirmed},
        {"notWritten", outcome.notWritten}, {"lost", outcome.lost},
        {"stoppedBy", outcome.stoppedBy},   {"note", outcome.note},
        {"verified", outcome.verified},     {"differences", DifferencesJson(outcome.differences)},
        {"notRead", outcome.notRead}};
}

WriteOutcome OutcomeOf(const json& event) {
    WriteOutcome outcome;
    event.at("written").get_to(outcome.written);
    event.at("notConfirmed").get_to(outcome.notConfirmed);
    event.at("notWritten").get_to(outcome.notWritten);
    event.at("lost").get_to(outcome.lost);
    event.at("stoppedBy").get_to(outcome.stoppedBy);
    event.at("note").get_to(outcome.note);
    event.at("verified").get_to(outcome.verified);
    for (const json& d : event.at("differences")) {
        outcome.differences.push_back(
            TableDifference{d.at("output").get<int>(), d.at("dmxValue").get<int>(),
                            d.at("file").get<WORD>(), d.at("dimmer").get<WORD>()});
    }
    event.at("notRead").get_to(outcome.notRead);
    return outcome;
}

void SendLine(int fd, const json& event) {
    const std::string line = event.dump() + "\n";
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
    // The parent's end, whatever ends it, stops this writer after its table (the signal waits
    // among the blocked ones) instead of letting it write on unseen.
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (::getppid() != parent) {
        ::kill(::getpid(), SIGTERM);  // it ended before the request took effect
    }
    FoundDimmer dimmer = work.dimmer;
    WriteOutcome outcome;
    if (OpenDimmerLink(dimmer.port, dimmer)) {
        outcome =
            RunTableJob(dimmer, work.tables, work.job, [fd](int done, int output, bool reading) {
                SendLine(fd, json{{"done", done}, {"output", output}, {"reading", reading}});
            });
        CloseDimmerLink(dimmer);
    } else {
        outcome.note = Said(kTextBusy) + ".";
        for (const OutputTable& item : work.tables) {
            (work.job.write ? outcome.notWritten : outcome.notRead).push_back(item.output);
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
    int done = 0;         // tables written before the one under way
    bool reading = false;
    bool reported = false;
    Clock::time_point lastHeard;
};

// What is known of a child that ended or was stopped without its outcome: the tables it had
// reported as done were confirmed; the one under way may not have been.
WriteOutcome OutcomeWithoutReport(const Child& child, const std::string& reason) {
    WriteOutcome outcome;
    outcome.note = reason;
    const std::vector<OutputTable>& tables = child.work->tables;
    for (std::size_t k = 0; k < tables.size(); ++k) {
        const int output = tables[k].output;
        if (!child.work->job.write) {
            outcome.notRead.push_back(output);
        } else if (static_cast<int>(k) < child.done) {
            outcome.written.push_back(output);
            if (child.work->job.verify) {
                outcome.notRead.push_back(output);
            }
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
                child.reading = event.at("reading").get<bool>();
                if (!child.reading) {
                    child.done = event.at("done").get<int>();
                }
            } else {
                child.work->outcome = OutcomeOf(event);
                child.reported = true;
            }
        } catch (const json::exception&) {
            // not one of ours: ignored
        }
    }
}

// Reads what the child left in its pipe until it is closed.
void Drain(Child& child) {
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(child.fd, buffer, sizeof buffer);
        if (n > 0) {
            TakeLines(child, buffer, static_cast<std::size_t>(n));
        } else if (n == 0 || errno != EINTR) {
            return;
        }
    }
}

// Waits for the child's end: it closed its pipe by ending, or it was killed. False when the wait
// itself failed.
bool Reap(pid_t pid, int& status) {
    for (int i = 0; i < 500; ++i) {
        const pid_t ended = ::waitpid(pid, &status, WNOHANG);
        if (ended == pid) {
            return true;
        }
        if (ended < 0 && errno != EINTR) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ::kill(pid, SIGKILL);
    return ::waitpid(pid, &status, 0) == pid;
}

void ShowProgress(const std::vector<Child>& children, int total) {
    int done = 0;
    for (const Child& child : children) {
        done += child.reported ? static_cast<int>(child.work->tables.size()) : child.done;
    }
    const int dimmers = static_cast<int>(children.size());
    Console::Progress(Said(kTextWriting), total > 0 ? static_cast<double>(done) / total : 1.0,
                      Format(kTextRigProgress, done, total, dimmers));
}

// What a second signal is told: the tables under way and when the last of them ends.
void SayWorking(const std::vector<Child>& children) {
    int busy = 0;
    Clock::time_point latest = Clock::now();
    for (const Child& child : children) {
        if (child.fd >= 0 && !child.reported) {
            ++busy;
            latest =
                std::max(latest, child.lastHeard +
                                     LongestTableTime(child.work->dimmer.port.link, child.reading));
        }
    }
    Interruption::Working(Format(kTextWorkTables, busy), latest);
}

// Ends the child's watch: its outcome is its report, or what is known without one.
void Finish(Child& child, const std::string& stopped) {
    ::close(child.fd);
    child.fd = -1;
    int status = 0;
    const bool reaped = Reap(child.pid, status);
    const int waitError = errno;
    Interruption::RemoveChild(child.pid);
    if (child.reported) {
        return;
    }
    std::string reason = stopped;
    if (reason.empty()) {
        reason = !reaped ? Format(kTextWaitFailed, SaidShared(std::strerror(waitError)).c_str())
                 : WIFSIGNALED(status) ? Format(kTextWriterSignal, WTERMSIG(status))
                                       : Said(kTextWriterNoResult);
    }
    child.work->outcome = OutcomeWithoutReport(child, reason);
    child.reported = true;
}

std::vector<Child> StartChildren(std::vector<DimmerWork>& work, int& total) {
    std::vector<Child> children;
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t parent = ::getpid();
    for (DimmerWork& item : work) {
        if (item.outcome.refused || item.tables.empty()) {
            continue;
        }
        if (Interruption::Requested()) {
            item.outcome.stoppedBy = Interruption::Signal();
            for (const OutputTable& table : item.tables) {
                (item.job.write ? item.outcome.notWritten : item.outcome.notRead)
                    .push_back(table.output);
            }
            continue;
        }
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0) {
            RefuseWork(item,
                       Format(kTextWriterNotStarted, SaidShared(std::strerror(errno)).c_str()));
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
            RefuseWork(item,
                       Format(kTextWriterNotStarted, SaidShared(std::strerror(errno)).c_str()));
            continue;
        }
        Interruption::AddChild(pid);
        Child child;
        child.work = &item;
        child.pid = pid;
        child.fd = fds[0];
        child.lastHeard = Clock::now();
        children.push_back(child);
        total += static_cast<int>(item.tables.size());
    }
    return children;
}

void RunAtOnce(std::vector<DimmerWork>& work) {
    int total = 0;
    std::vector<Child> children = StartChildren(work, total);
    std::size_t running = children.size();
    int waitError = 0;
    while (running > 0) {
        ShowProgress(children, total);
        SayWorking(children);
        std::vector<pollfd> polled;
        std::vector<Child*> owners;
        for (Child& child : children) {
            if (child.fd >= 0) {
                polled.push_back(pollfd{child.fd, POLLIN, 0});
                owners.push_back(&child);
            }
        }
        if (::poll(polled.data(), polled.size(), kPollMs) < 0 && errno != EINTR) {
            waitError = errno;
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
                stopped = Said(kTextWriterSilent);
                ended = true;
            }
            if (ended) {
                Finish(child, stopped);
                --running;
            }
        }
    }
    // Watching failed: each child still ends after its work; what it reported before is kept, and
    // one that reported nothing is no success.
    for (Child& child : children) {
        if (child.fd >= 0) {
            Drain(child);  // until the child's end closes its pipe
            Finish(child, Format(kTextWaitFailed, SaidShared(std::strerror(waitError)).c_str()));
        }
    }
    Interruption::Idle();
    Console::EndProgress();
}

void RunHere(DimmerWork& item) {
    const int total = static_cast<int>(item.tables.size());
    const std::string port = item.dimmer.port.name;
    const LinkKind link = item.dimmer.port.link;
    item.outcome =
        RunTableJob(item.dimmer, item.tables, item.job, [&](int done, int output, bool reading) {
            Interruption::Working(Format(kTextWorkTable, output, port.c_str()),
                                  Clock::now() + LongestTableTime(link, reading));
            Console::Progress(Said(reading ? kTextReading : kTextWriting),
                              static_cast<double>(done) / total,
                              Format(kTextTableProgress, output, done + 1, total));
        });
    Interruption::Idle();
    Console::EndProgress();
}

DimmerStatus StatusOf(const DimmerWork& work) {
    const WriteOutcome& o = work.outcome;
    if (o.refused) {
        return DimmerStatus::Refused;
    }
    if (work.tables.empty()) {
        return DimmerStatus::NotConcerned;
    }
    if (o.stoppedBy != 0 && !o.Complete()) {
        return DimmerStatus::Stopped;
    }
    if (!o.differences.empty()) {
        return DimmerStatus::Different;
    }
    if (!o.Complete()) {
        return o.written.empty() && o.verified.empty() ? DimmerStatus::Failed
                                                       : DimmerStatus::Partly;
    }
    return DimmerStatus::Done;
}

}  // namespace

void RefuseWork(DimmerWork& work, const std::string& reason) {
    work.outcome = WriteOutcome();
    work.outcome.note = reason;
    work.outcome.refused = true;
    for (const OutputTable& item : work.tables) {
        (work.job.write ? work.outcome.notWritten : work.outcome.notRead).push_back(item.output);
    }
}

void RunWrites(std::vector<DimmerWork>& work, bool atOnce) {
    // From the first table on, a signal waits for the table under way.
    Interruption::Defer();
    if (atOnce) {
        RunAtOnce(work);
        return;
    }
    for (DimmerWork& item : work) {
        if (!item.outcome.refused && !item.tables.empty()) {
            RunHere(item);
        }
    }
}

DimmerReport ReportOf(const DimmerWork& work) {
    const WriteOutcome& o = work.outcome;
    DimmerReport report = ReportOn(work.dimmer);
    report.status = StatusOf(work);
    const std::string lacking = Format(kTextNotConcerned, OutputListText(work.lacking).c_str());
    if (report.status == DimmerStatus::NotConcerned) {
        report.text = lacking;
        return report;
    }
    report.written = o.written;
    if (o.notConfirmed != 0) {
        report.notConfirmed = {o.notConfirmed};
    }
    report.notWritten = o.notWritten;
    report.text = WriteOutcomeText(o, work.job);
    if (!work.lacking.empty()) {
        report.text += " " + lacking;
    }
    if (work.job.verify) {
        report.extra["verified"] = o.verified;
        report.extra["different"] = DifferencesJson(o.differences);
        report.extra["notRead"] = o.notRead;
    }
    return report;
}
