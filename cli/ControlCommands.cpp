// set, temp and shutdown-temp: what the window's output and temperature controls do.
#include <signal.h>

#include <atomic>
#include <chrono>
#include <nlohmann/json.hpp>
#include <thread>

#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/DimmerChoice.h"
#include "cli/ExitStatus.h"
#include "cli/TableInput.h"
#include "link/DeviceProtocol.h"
#include "link/TableLink.h"
#include "link/TemperatureScale.h"
#include "link/TemperatureText.h"
#include "platform/os/TimeService.h"

namespace {

using json = nlohmann::ordered_json;

std::atomic<bool> g_stop{false};

void OnStopSignal(int) {
    g_stop.store(true);
}

// The temperatures are the cable family's: read on the cable, where the profile polls them.
bool HasTemperature(const FoundDimmer& dimmer) {
    if (dimmer.profile.tempReplyLength > 0 && dimmer.cable != nullptr) {
        return true;
    }
    Console::Error(DimmerText(dimmer) + " reports no temperature");
    return false;
}

// A read that brought nothing: the dimmer went away or does not answer.
int NoAnswer(const FoundDimmer& dimmer) {
    Console::Error(dimmer.port.name + ": " +
                   (TableLinkIsGone(dimmer.cable) ? std::string(kLinkLostText)
                                                  : std::string("the dimmer does not answer")));
    return kExitIncomplete;
}

json Degrees(const std::optional<int>& celsius) {
    return celsius ? json(*celsius) : json(nullptr);
}

// One reading of the actual temperature, shown as the window shows it.
int ShowActual(const FoundDimmer& dimmer, const CliRequest& request, bool withShutdown) {
    BYTE reply[TEMPERATURE_REPLY_FOUR_READINGS] = {};
    const int length = dimmer.profile.tempReplyLength;
    const DWORD count = CableReadTemperature(dimmer.cable, reply, static_cast<DWORD>(length));
    if (count == 0) {
        return NoAnswer(dimmer);
    }
    json result{{"port", dimmer.port.name},
                {"actual", Utf8(ActualTemperatureText(reply, count, length))}};
    json degrees = json::array();
    for (const std::optional<int>& reading : ActualTemperatureReadings(reply, count, length)) {
        degrees.push_back(Degrees(reading));
    }
    result["actualCelsius"] = degrees;
    if (withShutdown) {
        WORD raw = 0;
        if (CableReadShutdownTemperature(dimmer.cable, &raw) < SHUTDOWN_REPLY_LENGTH) {
            return NoAnswer(dimmer);
        }
        result["shutdown"] = Utf8(RawTemperatureText(raw));
        result["shutdownCelsius"] = Degrees(RawTemperatureCelsius(raw));
    }
    if (request.json) {
        Console::Result(result.dump());
    } else {
        Console::Result("Actual temperature: " + result["actual"].get<std::string>());
        if (withShutdown) {
            Console::Result("Shut down temperature: " + result["shutdown"].get<std::string>());
        }
    }
    return kExitDone;
}

int Watch(const FoundDimmer& dimmer, const CliRequest& request) {
    struct sigaction action = {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    const auto period = std::chrono::milliseconds(TEMPERATURE_POLL_MS);
    auto next = std::chrono::steady_clock::now();
    bool first = true;
    while (!g_stop.load()) {
        if (const int status = ShowActual(dimmer, request, first)) {
            return status;
        }
        first = false;
        next += period;
        // In short steps, so that a signal ends the wait at once.
        while (!g_stop.load() && std::chrono::steady_clock::now() < next) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    return kExitDone;
}

int WithDimmer(const CliRequest& request, int (*command)(const CliRequest&, FoundDimmer&)) {
    FoundDimmer dimmer;
    if (const int status = OpenChosenDimmer(request.port, dimmer)) {
        return status;
    }
    const int status = command(request, dimmer);
    CloseDimmerLink(dimmer);
    return status;
}

int SetLevel(const CliRequest& request, FoundDimmer& dimmer) {
    const DeviceProfile& profile = dimmer.profile;
    if (!CheckOutput(dimmer, request.output)) {
        return kExitBadInput;
    }
    if (request.level > profile.maxValue) {
        Console::Error("level " + std::to_string(request.level) + ": " + DimmerText(dimmer) +
                       " takes 0 to " + std::to_string(profile.maxValue));
        return kExitBadInput;
    }
    SendOutputLevel(dimmer.cable, request.output - 1, static_cast<WORD>(request.level));
    if (TableLinkIsGone(dimmer.cable)) {
        return NoAnswer(dimmer);
    }
    Console::Result(dimmer.port.name + ": Output " + std::to_string(request.output) + " = " +
                    std::to_string(request.level));
    return kExitDone;
}

int Temp(const CliRequest& request, FoundDimmer& dimmer) {
    if (!HasTemperature(dimmer)) {
        return kExitBadInput;
    }
    return request.watch ? Watch(dimmer, request) : ShowActual(dimmer, request, true);
}

int ShutdownTemp(const CliRequest& request, FoundDimmer& dimmer) {
    if (!HasTemperature(dimmer)) {
        return kExitBadInput;
    }
    if (request.shutdownCelsius || request.shutdownDefault) {
        const LONG raw = request.shutdownDefault ? SHUTDOWN_RAW_DEFAULT
                                                 : CelsiusToTempRaw(*request.shutdownCelsius);
        CableWriteShutdownTemperature(dimmer.cable, raw);
        // Read back one poll later, as the window does.
        Sleep(TEMPERATURE_POLL_MS);
    }
    WORD raw = 0;
    if (CableReadShutdownTemperature(dimmer.cable, &raw) < SHUTDOWN_REPLY_LENGTH) {
        return NoAnswer(dimmer);
    }
    Console::Result("Shut down temperature: " + Utf8(RawTemperatureText(raw)));
    return kExitDone;
}

}  // namespace

int RunSet(const CliRequest& request) {
    return WithDimmer(request, SetLevel);
}

int RunTemp(const CliRequest& request) {
    return WithDimmer(request, Temp);
}

int RunShutdownTemp(const CliRequest& request) {
    return WithDimmer(request, ShutdownTemp);
}
