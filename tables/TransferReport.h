// Which link a page's table travels over, whether that link has gone, and what the operator is
// told when the dimmer did not take a table. Shared by a page's Write and the Device menu.
#pragma once

#include "link/CableTransport.h"
#include "link/DeviceProtocol.h"
#include "link/SerialTransport.h"
#include "platform/os/CString.h"

// The cable when it is open (the pointer and the handle it points to both non-null), otherwise the
// serial port when one is open.
inline bool TableLinkOpen(const FT_HANDLE* pCable) {
    return (pCable != nullptr && CableIsOpen(*pCable)) || SerialIsOpen();
}

// Whether the link that tables travel over has hung up; it stays gone for the run.
inline bool TableLinkGone(const FT_HANDLE* pCable) {
    if (pCable != nullptr && CableIsOpen(*pCable)) {
        return CableIsGone(*pCable);
    }
    return SerialIsGone();
}

// "Output 3", "Output 1 to 4", or "none" for an empty range.
inline CString OutputRangeText(int first, int last) {
    CString text;
    if (first > last) {
        text = "none";
    } else if (first == last) {
        text.Format("Output %d", first);
    } else {
        text.Format("Output %d to %d", first, last);
    }
    return text;
}

// A single table: which output the dimmer did not confirm.
inline CString TableNotConfirmedText(int output, bool linkLost) {
    CString text;
    text.Format("The dimmer did not confirm the table of Output %d.", output);
    if (linkLost) {
        text += "\n";
        text += kLinkLostText;
    }
    return text;
}

// Write all and Reset all stop at the output the dimmer did not confirm: which outputs were
// written, the one whose table was sent but not confirmed, and which were not written at all.
inline CString BulkNotConfirmedText(int failedOutput, int outputs, bool linkLost) {
    CString text = TableNotConfirmedText(failedOutput, linkLost);
    text += "\n\nWritten: ";
    text += OutputRangeText(1, failedOutput - 1);
    text += ".\nNot confirmed: ";
    text += OutputRangeText(failedOutput, failedOutput);
    text += ".";
    if (failedOutput < outputs) {
        text += "\nNot written: ";
        text += OutputRangeText(failedOutput + 1, outputs);
        text += ".";
    }
    return text;
}
