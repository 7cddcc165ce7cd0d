// A page's table to and from the dimmer: Write, Read and the reset that Reset all uses.
#include "tables/CDlgTable.h"

// To be built.
BOOL CDlgTable::WriteTableToDevice() {
    return FALSE;
}
BOOL CDlgTable::ReadTableFromDevice() {
    return TRUE;
}
BOOL CDlgTable::ResetToLinearAndWrite() {
    return TRUE;
}
void CDlgTable::OnWrite() {}
void CDlgTable::OnRead() {}
