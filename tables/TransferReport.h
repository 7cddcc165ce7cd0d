// What the operator is told when the dimmer did not take a table: after a page's Write, Write all
// and Reset all in the window, and after a write of brenvo-cli.
#pragma once

#include "link/DeviceProtocol.h"
#include "platform/os/CString.h"
#include "platform/os/TextMark.h"

// "Output 3", "Output 1 to 4", or "none" for an empty range.
inline CString OutputRangeText(int first, int last) {
    CString text;
    if (first > last) {
        text = N_("none");
    } else if (first == last) {
        text.Format(N_("Output %d"), first);
    } else {
        text.Format(N_("Output %d to %d"), first, last);
    }
    return text;
}

// A single table: which output the dimmer did not confirm.
inline CString TableNotConfirmedText(int output, bool linkLost) {
    CString text;
    text.Format(N_("The dimmer did not confirm the table of Output %d."), output);
    if (linkLost) {
        text += "\n";
        text += kLinkLostText;
    }
    return text;
}

// What became of the outputs of a bulk write, group by group, the groups apart by `separator`:
// "Written: <written>.", then "Not confirmed: <notConfirmed>." and "Not written: <notWritten>."
// where those are not empty.
inline CString BulkGroupsText(const CString& written, const CString& notConfirmed,
                              const CString& notWritten, const char* separator) {
    CString text;
    text.Format(N_("Written: %s."), written.GetString());
    CString group;
    if (!notConfirmed.IsEmpty()) {
        group.Format(N_("Not confirmed: %s."), notConfirmed.GetString());
        text += separator;
        text += group;
    }
    if (!notWritten.IsEmpty()) {
        group.Format(N_("Not written: %s."), notWritten.GetString());
        text += separator;
        text += group;
    }
    return text;
}

// Write all and Reset all stop at the output the dimmer did not confirm: which outputs were
// written, the one whose table was sent but not confirmed, and which were not written at all.
inline CString BulkNotConfirmedText(int failedOutput, int outputs, bool linkLost) {
    const CString notWritten =
        failedOutput < outputs ? OutputRangeText(failedOutput + 1, outputs) : CString();
    return TableNotConfirmedText(failedOutput, linkLost) + "\n\n" +
           BulkGroupsText(OutputRangeText(1, failedOutput - 1),
                          OutputRangeText(failedOutput, failedOutput), notWritten, "\n");
}
