// The serial link: one COM port at a time, 115200 8N1, and a timed request/reply operation.
// Process-wide state; called from the user-interface thread only.
#pragma once

#include "platform/os/WinTypes.h"

constexpr DWORD SERIAL_RX_CAPACITY = 1024;
constexpr DWORD SERIAL_BAUD_RATE = 115200;

// Opens COM port `portNumber` (1 to 256) with the line settings; false when it cannot be used.
bool SerialOpen(int portNumber);
// Writes the request, then (when replyCapacity is not 0) collects reply bytes until replyCapacity
// have arrived or timeoutMs has passed. False only when no port is open.
bool SerialRequest(const BYTE* request, DWORD requestLength, BYTE* reply, DWORD replyCapacity,
                   DWORD* replyCount, LONG timeoutMs);
// Takes and drops whatever still arrives until the line has been quiet for quietMs (limitMs at the
// most): the rest of a reply that the time-out cut off must not open the next one.
void SerialDrain(DWORD quietMs, DWORD limitMs);
void SerialClose();
bool SerialIsOpen();
// Whether the open port's device has hung up. It stays gone for the run: every later request on
// it ends at once as unanswered.
bool SerialIsGone();
