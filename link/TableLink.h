// A lookup table over the link in use: the cable when it is open, otherwise the serial port when
// one is open.
#pragma once

#include "platform/os/CableDriver.h"

// Whether a link is open to take or give a table.
bool TableLinkIsOpen(FT_HANDLE hCable);
// Whether the link in use has hung up (its device went away); it stays gone.
bool TableLinkIsGone(FT_HANDLE hCable);
// Writes the table with the write command; true when the dimmer took it (on the cable: confirmed).
bool WriteTableOverLink(FT_HANDLE hCable, BYTE command, int outputIndex, const WORD* table);
// Asks for the table; returns the number of reply bytes. `table` is replaced only when a whole
// image arrived. 0 without asking when no link is open.
DWORD ReadTableOverLink(FT_HANDLE hCable, int outputIndex, WORD* table);
