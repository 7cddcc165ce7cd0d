// A dimmer played in software: parses the byte stream a link delivers (commands may arrive split
// over any number of chunks), keeps the model's state (levels, tables, EEPROM, temperatures) and
// answers as the model would, or misbehaves on demand. Thread-safe: the link thread feeds it while
// tests and the live view read snapshots.
#pragma once

#include <array>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "emulator/DeviceResponder.h"
#include "emulator/DimmerModel.h"
#include "link/DeviceCommands.h"

enum class DimmerFault {
    None,
    Silent,            // takes every command, answers nothing
    ShortReplies,      // every reply lacks its last byte
    Garbage,           // every reply is replaced by as many meaningless bytes
    LateReplies,       // every reply starts only after the late delay
    NeverConfirm,      // after a table write the identify probe is never answered
    HangUpMidTransfer  // a table write or read breaks off with a hang-up
};

using DimmerTable = std::array<WORD, TABLE_ENTRIES>;
using DimmerRawTemperatures = std::array<WORD, TEMPERATURE_SENSORS>;

struct DimmerSnapshot {
    std::array<WORD, OUTPUT_COUNT_MAX> levels{};
    std::array<DimmerTable, OUTPUT_COUNT_MAX> tables{};
    std::array<unsigned, OUTPUT_COUNT_MAX> tableWrites{};  // tables received per output
    unsigned eepromBytes = 0;                              // stored
    unsigned eepromBadChecks = 0;                          // refused for a wrong check byte
    long lastEepromAddress = -1;
    WORD shutdownRaw = 0;
    BYTE temperatureByte = 0;
    DimmerRawTemperatures rawTemperatures{};
    unsigned commands = 0;  // complete commands received
    unsigned ignored = 0;   // commands (or stray bytes) the model does not have
    bool hungUp = false;
    std::deque<std::string> recent;  // the latest commands, oldest first
};

class DimmerEmulator final : public DeviceResponder {
public:
    static constexpr unsigned DEFAULT_LATE_MS = 300;   // beyond both links' reply windows
    static constexpr WORD DEFAULT_SHUTDOWN_RAW = 583;  // about 85 degrees Celsius
    static constexpr std::size_t RECENT_LIMIT = 8;

    explicit DimmerEmulator(const DimmerModel& model);

    DeviceReply OnReceive(const std::uint8_t* data, std::size_t count) override;

    const DimmerModel& Model() const { return m_model; }
    void SetFault(DimmerFault fault, unsigned lateMs = DEFAULT_LATE_MS);
    DimmerFault Fault() const;
    // One-byte reading in degrees Celsius; 128 to 255 report "no valid reading".
    void SetTemperatureByte(BYTE celsius);
    // The four raw readings (above 768: no valid reading).
    void SetRawTemperatures(const DimmerRawTemperatures& raw);
    void SetShutdownRaw(WORD raw);
    void SetTable(int outputIndex, const DimmerTable& table);
    BYTE EepromByte(WORD address) const;
    DimmerSnapshot Snapshot() const;

    // For the command line and the live view.
    static bool ParseFault(const std::string& text, DimmerFault* fault);
    static const char* FaultName(DimmerFault fault);

private:
    std::size_t RequestLength(BYTE code) const;
    void Execute(const std::vector<BYTE>& command, std::vector<BYTE>* reply);
    void Answer(std::vector<BYTE> bytes, std::vector<BYTE>* reply);
    void Note(const std::string& text);

    const DimmerModel& m_model;
    mutable std::mutex m_mutex;
    DimmerSnapshot m_state;
    std::vector<BYTE> m_eeprom;
    std::vector<BYTE> m_pending;  // bytes of a command not complete yet
    DimmerFault m_fault = DimmerFault::None;
    unsigned m_lateMs = DEFAULT_LATE_MS;
    bool m_tableWritten = false;  // since the fault was set
    bool m_hangUpNow = false;
    std::uint32_t m_noise = 0x2545f491u;
};
