// The configuration-cable link: finding, opening and configuring the cable, and its read and write.
#pragma once

#include "platform/os/CString.h"
#include "platform/os/CableDriver.h"

extern const char CABLE_DESCRIPTION[];  // "QELVORN-Configuration-Cable"
extern const char CABLE_SERIES[];       // "KAV5806": cables of this series report their own name
constexpr DWORD CABLE_BAUD_RATE = 19200;
constexpr DWORD CABLE_TIMEOUT_MS = 250;  // every read and write on the cable

// Walks the driver's list; the first cable whose description is CABLE_DESCRIPTION or contains
// "KAV5806" is opened and configured. Returns whether a cable matched (the serial scan is skipped
// then, whatever the open gave); its description goes to `matchedDescription`. On a successful
// open `hCable` holds the handle and `cableStatus` 0; on a failed open `hCable` stays null and
// `cableStatus` holds the driver's status. `matchedIndex`, when given, receives the cable's index
// in the driver's list, and `listed` how many devices the list held.
bool CableFindAndOpen(FT_HANDLE& hCable, FT_STATUS& cableStatus, CString& matchedDescription,
                      int* matchedIndex = nullptr, DWORD* listed = nullptr);
// Whether the description is one of the configuration cable's.
bool IsCableDescription(const char* description);
// Opens cable `index` of the driver's last list and configures it (baud rate, 8N1, no flow control,
// time-outs, transfer sizes). Returns the driver's status; `hCable` is null unless it is FT_OK.
FT_STATUS CableOpen(int index, FT_HANDLE& hCable);
// Releases an opened cable; the handle becomes null.
void CableClose(FT_HANDLE& hCable);
// One driver write; the result is not examined.
void CableWrite(FT_HANDLE hCable, const void* bytes, DWORD count);
// One driver read: returns the bytes that arrived, at most `count`, within the read time-out.
DWORD CableRead(FT_HANDLE hCable, void* buffer, DWORD count);
bool CableIsOpen(FT_HANDLE hCable);
// Whether the open cable's device has hung up. It stays gone for the run: every later exchange on
// it ends at once as unanswered.
bool CableIsGone(FT_HANDLE hCable);
