#include "link/TemperatureText.h"

#include "link/DeviceCommands.h"
#include "link/TemperatureScale.h"

namespace {

// Byte 0xB0 is the degree sign in Windows-1252.
constexpr char kNoReading[] = "---";
constexpr char kOneByteFormat[] =
    "%d \xB0"
    "C";
constexpr char kRawFormat[] =
    "%.0f \xB0"
    "C";
constexpr char kFourReadingsFormat[] = "%s / %s / %s / %s";
// One-byte readings above this carry no valid temperature.
constexpr BYTE kOneByteMax = 127;

}  // namespace

CString RawTemperatureText(int raw) {
    if (raw > TEMP_RAW_MAX) {
        return kNoReading;
    }
    CString text;
    text.Format(kRawFormat, static_cast<double>(TempRawToCelsius(raw)));
    return text;
}

CString ActualTemperatureText(const BYTE* reply, DWORD count, int replyLength) {
    if (replyLength == static_cast<int>(TEMPERATURE_REPLY_ONE_BYTE)) {
        if (count < 1 || reply[0] > kOneByteMax) {
            return kNoReading;
        }
        CString text;
        text.Format(kOneByteFormat, reply[0]);
        return text;
    }
    CString texts[TEMPERATURE_SENSORS];
    for (int i = 0; i < TEMPERATURE_SENSORS; ++i) {
        const DWORD end = 2 * static_cast<DWORD>(i) + 2;
        texts[i] =
            count >= end ? RawTemperatureText(WordFromWire(reply + end - 2)) : CString(kNoReading);
    }
    CString text;
    text.Format(kFourReadingsFormat, texts[0].GetString(), texts[1].GetString(),
                texts[2].GetString(), texts[3].GetString());
    return text;
}
