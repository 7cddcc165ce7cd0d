#include "link/TemperatureText.h"

#include <cstddef>

#include "link/DeviceCommands.h"
#include "link/TemperatureScale.h"

namespace {

// Byte 0xB0 is the degree sign in Windows-1252.
constexpr char kNoReading[] = "---";
// Both kinds of reading are whole degrees.
constexpr char kDegreesFormat[] =
    "%d \xB0"
    "C";
constexpr char kFourReadingsFormat[] = "%s / %s / %s / %s";
// One-byte readings above this carry no valid temperature.
constexpr BYTE kOneByteMax = 127;

}  // namespace

std::optional<int> RawTemperatureCelsius(int raw) {
    if (raw > TEMP_RAW_MAX) {
        return std::nullopt;
    }
    return TempRawToCelsius(raw);
}

CString RawTemperatureText(int raw) {
    const std::optional<int> celsius = RawTemperatureCelsius(raw);
    if (!celsius) {
        return kNoReading;
    }
    CString text;
    text.Format(kDegreesFormat, *celsius);
    return text;
}

std::vector<std::optional<int>> ActualTemperatureReadings(const BYTE* reply, DWORD count,
                                                          int replyLength) {
    if (replyLength == static_cast<int>(TEMPERATURE_REPLY_ONE_BYTE)) {
        if (count < 1 || reply[0] > kOneByteMax) {
            return {std::nullopt};
        }
        return {static_cast<int>(reply[0])};
    }
    std::vector<std::optional<int>> readings;
    for (int i = 0; i < TEMPERATURE_SENSORS; ++i) {
        const DWORD end = 2 * static_cast<DWORD>(i) + 2;
        readings.push_back(count >= end ? RawTemperatureCelsius(WordFromWire(reply + end - 2))
                                        : std::nullopt);
    }
    return readings;
}

CString ActualTemperatureText(const BYTE* reply, DWORD count, int replyLength) {
    const std::vector<std::optional<int>> readings =
        ActualTemperatureReadings(reply, count, replyLength);
    CString texts[TEMPERATURE_SENSORS];
    for (std::size_t i = 0; i < readings.size(); ++i) {
        if (readings[i]) {
            texts[i].Format(kDegreesFormat, *readings[i]);
        } else {
            texts[i] = kNoReading;
        }
    }
    if (readings.size() == 1) {
        return texts[0];
    }
    CString text;
    text.Format(kFourReadingsFormat, texts[0].GetString(), texts[1].GetString(),
                texts[2].GetString(), texts[3].GetString());
    return text;
}
