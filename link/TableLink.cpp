#include "link/TableLink.h"

#include "link/CableTransport.h"
#include "link/DeviceProtocol.h"
#include "link/SerialTransport.h"

bool TableLinkIsOpen(FT_HANDLE hCable) {
    return CableIsOpen(hCable) || SerialIsOpen();
}

bool TableLinkIsGone(FT_HANDLE hCable) {
    return CableIsOpen(hCable) ? CableIsGone(hCable) : SerialIsGone();
}

bool WriteTableOverLink(FT_HANDLE hCable, BYTE command, int outputIndex, const WORD* table) {
    if (CableIsOpen(hCable)) {
        return CableWriteTable(hCable, command, outputIndex, table);
    }
    if (SerialIsOpen()) {
        return SerialWriteTable(command, outputIndex, table);
    }
    return false;
}

DWORD ReadTableOverLink(FT_HANDLE hCable, int outputIndex, WORD* table) {
    if (CableIsOpen(hCable)) {
        return CableReadTable(hCable, outputIndex, table);
    }
    if (SerialIsOpen()) {
        return SerialReadTable(outputIndex, table);
    }
    return 0;
}
