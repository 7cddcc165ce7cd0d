// Every exchange with a dimmer as one operation, over the cable and over the serial link, with that
// link's pacing and reply collection. Pauses go through the time service. Callers pick the link;
// an operation on a link that is not open sends nothing.
#pragma once

#include "link/DeviceCommands.h"
#include "platform/os/CString.h"
#include "platform/os/CableDriver.h"
#include "platform/os/TextMark.h"

// The identify reply as text: the bytes up to the first zero byte, or all of them.
CString IdentifyText(const BYTE* reply, DWORD count);

// Identify: drain read of 100, write 'i', read of up to 100; the reply text (empty: no answer).
CString CableIdentify(FT_HANDLE hCable);
// Identify: one request with capacity 1000 and 50 ms; the reply text. `replyCount` (optional)
// receives the number of bytes that arrived: 0 means no device answered.
CString SerialIdentify(DWORD* replyCount = nullptr);

// Output level `level` for output `outputIndex` (0 to 11) to every open link, then the 10 ms pause.
// An index outside 0 to 11 would form another command's code: nothing is sent, false returned.
bool SendOutputLevel(FT_HANDLE hCable, int outputIndex, WORD level);

// One EEPROM byte with its check byte, then the 10 ms pause. Cable only.
void CableWriteEepromByte(FT_HANDLE hCable, WORD address, BYTE data);

// Actual temperature: writes the request and reads `replyLength` bytes (1, or 8 for four raw
// readings; larger lengths are cut to 8) into `reply`. Returns the number of bytes that arrived.
DWORD CableReadTemperature(FT_HANDLE hCable, BYTE* reply, DWORD replyLength);
// Shut-down temperature: the raw value when both bytes arrived, else 0xffff (no valid reading).
// Returns the number of bytes that arrived.
DWORD CableReadShutdownTemperature(FT_HANDLE hCable, WORD* raw);
void CableWriteShutdownTemperature(FT_HANDLE hCable, LONG raw);

// Operations on a link whose device has hung up end at once as unanswered (CableIsGone,
// SerialIsGone); what the operator is told then.
constexpr char kLinkLostText[] = N_("The connection to the dimmer is lost.");

// Table write on the cable: code, index, 100 ms, 512 bytes, 1000 ms, trailer, 100 ms, drain read,
// 'i', then a probe read every 100 ms until a byte arrives. True when the dimmer confirmed;
// false when no cable is open, the cable is gone, or no probe was answered within
// TABLE_CONFIRM_LIMIT_MS of sending 'i'.
bool CableWriteTable(FT_HANDLE hCable, BYTE command, int outputIndex, const WORD* table);
// Table write on the serial link: one request of 514 bytes, then 1000 ms. False when no port is
// open or the port is gone.
bool SerialWriteTable(BYTE command, int outputIndex, const WORD* table);

// Table read: returns the number of reply bytes; `table` is replaced only when exactly 512 arrived.
DWORD CableReadTable(FT_HANDLE hCable, int outputIndex, WORD* table);
DWORD SerialReadTable(int outputIndex, WORD* table);
