// A cable driver for tests: keeps every driver call with its arguments and every pause of the time
// service in one ordered log, answers reads from a script (one entry per read call) or, when the
// script is empty, from an attached device responder. A responder that hangs up leaves the cable
// gone: its last bytes can still be read, then reads and writes fail at once. A reply delayed by at
// least the read time-out (250 ms unless SetTimeouts says otherwise) is missed by the next read,
// which returns at its time-out, and is there for the reads after it, as on a real cable. Installs
// itself while it lives.
#pragma once

#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "emulator/DeviceResponder.h"
#include "platform/os/CableDriver.h"
#include "tests/support/RecordingTimeService.h"

class RecordingCableDriver final : public CableDriver {
public:
    struct Entry {
        std::string op;            // "Write", "Read", "Sleep", "Open", ...
        std::vector<DWORD> args;   // the call's numeric arguments (for Read: bytes wanted)
        std::vector<BYTE> bytes;   // bytes written, or bytes a read returned
        std::string Text() const;  // e.g. "Write(bf)", "Write[512]", "Read(100)->3", "Sleep(100)"
    };
    struct Device {
        std::string description;
        std::string serialNumber;
        FT_STATUS openStatus = FT_OK;
    };

    // Records pauses through `time` (which the test owns), or through a service of its own.
    explicit RecordingCableDriver(RecordingTimeService* time = nullptr);
    ~RecordingCableDriver() override;

    void AddDevice(const std::string& description, const std::string& serialNumber = "",
                   FT_STATUS openStatus = FT_OK);
    // The next read call returns these bytes (at most as many as it asks for).
    void ScriptRead(const std::vector<BYTE>& bytes);
    // Reads past the script return what the responder answered to the bytes written.
    void AttachResponder(DeviceResponder* responder);
    // The cable is pulled out: it leaves the list, and a handle open on it is gone. AddDevice and
    // AttachResponder plug one in again.
    void Unplug();

    std::vector<Entry> Log();                 // calls and pauses, in order
    std::vector<std::string> Texts();         // the log as short texts
    std::vector<std::vector<BYTE>> Writes();  // the bytes of each write call, in order
    void ClearLog();
    FT_HANDLE OpenedHandle() const;  // the handle Open hands out

    FT_STATUS CreateDeviceInfoList(DWORD* count) override;
    FT_STATUS GetDeviceInfoDetail(DWORD index, DWORD* flags, DWORD* type, DWORD* id, DWORD* locId,
                                  char serialNumber[FT_SERIAL_SIZE],
                                  char description[FT_DESCRIPTION_SIZE],
                                  FT_HANDLE* handle) override;
    FT_STATUS Open(int index, FT_HANDLE* handle) override;
    FT_STATUS SetBaudRate(FT_HANDLE handle, DWORD baud) override;
    FT_STATUS SetDataCharacteristics(FT_HANDLE handle, BYTE wordLength, BYTE stopBits,
                                     BYTE parity) override;
    FT_STATUS SetFlowControl(FT_HANDLE handle, WORD flowControl, BYTE xon, BYTE xoff) override;
    FT_STATUS SetTimeouts(FT_HANDLE handle, DWORD readMs, DWORD writeMs) override;
    FT_STATUS SetUSBParameters(FT_HANDLE handle, DWORD inSize, DWORD outSize) override;
    FT_STATUS Read(FT_HANDLE handle, void* buffer, DWORD toRead, DWORD* bytesRead) override;
    FT_STATUS Write(FT_HANDLE handle, const void* buffer, DWORD toWrite,
                    DWORD* bytesWritten) override;
    FT_STATUS GetStatus(FT_HANDLE handle) override;
    FT_STATUS Close(FT_HANDLE handle) override;

private:
    void Record(Entry entry);  // caller holds m_mutex
    void TakePauses();         // caller holds m_mutex

    std::unique_ptr<RecordingTimeService> m_ownTime;
    RecordingTimeService* m_time;
    std::mutex m_mutex;
    std::vector<Entry> m_log;
    std::size_t m_pausesTaken = 0;
    std::vector<Device> m_devices;
    std::deque<std::vector<BYTE>> m_script;
    std::vector<BYTE> m_pending;  // responder output not read yet
    std::vector<BYTE> m_late;     // responder output that arrives after the next read
    DWORD m_readTimeoutMs = 250;
    DeviceResponder* m_responder = nullptr;
    bool m_hungUp = false;  // the responder hung up
    int m_handleTag = 0;    // Open hands out the address of this member
};
