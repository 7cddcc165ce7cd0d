#include "link/CableTransport.h"

#include <cstring>

const char CABLE_DESCRIPTION[] = "QELVORN-Configuration-Cable";
const char CABLE_SERIES[] = "KAV5806";

bool CableFindAndOpen(FT_HANDLE& hCable, FT_STATUS& cableStatus, CString& matchedDescription,
                      int* matchedIndex, DWORD* listed) {
    CableDriver& driver = CurrentCableDriver();
    hCable = nullptr;
    DWORD count = 0;
    driver.CreateDeviceInfoList(&count);
    if (listed != nullptr) {
        *listed = count;
    }
    for (DWORD index = 0; index < count; ++index) {
        DWORD flags = 0;
        DWORD type = 0;
        DWORD id = 0;
        DWORD locId = 0;
        char serialNumber[FT_SERIAL_SIZE] = {};
        char description[FT_DESCRIPTION_SIZE] = {};
        FT_HANDLE unused = nullptr;
        driver.GetDeviceInfoDetail(index, &flags, &type, &id, &locId, serialNumber, description,
                                   &unused);
        // The driver fills the text; its end is ours to guarantee.
        description[FT_DESCRIPTION_SIZE - 1] = '\0';
        if (!IsCableDescription(description)) {
            continue;
        }
        matchedDescription = description;
        if (matchedIndex != nullptr) {
            *matchedIndex = static_cast<int>(index);
        }
        cableStatus = CableOpen(static_cast<int>(index), hCable);
        return true;
    }
    return false;
}

bool IsCableDescription(const char* description) {
    return std::strcmp(description, CABLE_DESCRIPTION) == 0 ||
           std::strstr(description, CABLE_SERIES) != nullptr;
}

FT_STATUS CableOpen(int index, FT_HANDLE& hCable) {
    CableDriver& driver = CurrentCableDriver();
    hCable = nullptr;
    FT_HANDLE handle = nullptr;
    const FT_STATUS status = driver.Open(index, &handle);
    if (status != FT_OK) {
        return status;
    }
    hCable = handle;
    driver.SetBaudRate(hCable, CABLE_BAUD_RATE);
    driver.SetDataCharacteristics(hCable, 8, 0, 0);
    driver.SetFlowControl(hCable, 0, 0, 0);
    driver.SetTimeouts(hCable, CABLE_TIMEOUT_MS, CABLE_TIMEOUT_MS);
    driver.SetUSBParameters(hCable, 64, 64);
    return FT_OK;
}

void CableClose(FT_HANDLE& hCable) {
    if (hCable != nullptr) {
        CurrentCableDriver().Close(hCable);
    }
    hCable = nullptr;
}

void CableWrite(FT_HANDLE hCable, const void* bytes, DWORD count) {
    DWORD written = 0;
    CurrentCableDriver().Write(hCable, bytes, count, &written);
}

DWORD CableRead(FT_HANDLE hCable, void* buffer, DWORD count) {
    DWORD read = 0;
    CurrentCableDriver().Read(hCable, buffer, count, &read);
    return read <= count ? read : count;
}

bool CableIsOpen(FT_HANDLE hCable) {
    return hCable != nullptr;
}

bool CableIsGone(FT_HANDLE hCable) {
    return hCable != nullptr && CurrentCableDriver().GetStatus(hCable) == FT_DEVICE_NOT_FOUND;
}
