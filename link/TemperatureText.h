// The temperatures as the operator reads them: the actual temperature from the poll's reply, and
// the shut-down temperature from its raw value.
#pragma once

#include <optional>
#include <vector>

#include "platform/os/CString.h"
#include "platform/os/WinTypes.h"

// What Default writes as the shut-down temperature: no shut-down.
constexpr LONG SHUTDOWN_RAW_DEFAULT = 0xffff;
// The actual temperature is read this often.
constexpr DWORD TEMPERATURE_POLL_MS = 1000;

// The reply of the actual-temperature request (`replyLength` 1: degrees in one byte; 8: four raw
// readings). A reading the reply did not complete shows as missing.
CString ActualTemperatureText(const BYTE* reply, DWORD count, int replyLength);
// A raw value of the 16-bit scale in whole degrees, or the no-reading text.
CString RawTemperatureText(int raw);

// The same as numbers: the whole degrees of each reading (one, or four), none for a reading that
// is not valid or that the reply did not complete.
std::vector<std::optional<int>> ActualTemperatureReadings(const BYTE* reply, DWORD count,
                                                          int replyLength);
std::optional<int> RawTemperatureCelsius(int raw);
