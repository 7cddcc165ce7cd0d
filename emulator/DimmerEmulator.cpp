#include "emulator/DimmerEmulator.h"

#include <cstdio>
#include <cstring>

namespace {
const std::size_t EEPROM_SIZE = 65536;  // the whole 16-bit address range

const struct {
    DimmerFault fault;
    const char* name;
} FAULT_NAMES[] = {
    {DimmerFault::None, "none"},
    {DimmerFault::Silent, "silent"},
    {DimmerFault::ShortReplies, "short"},
    {DimmerFault::Garbage, "garbage"},
    {DimmerFault::LateReplies, "late"},
    {DimmerFault::NeverConfirm, "no-confirm"},
    {DimmerFault::HangUpMidTransfer, "hang-up"},
};

std::string Describe(const char* format, long a, long b = 0) {
    char text[96];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
}
}  // namespace

DimmerEmulator::DimmerEmulator(const DimmerModel& model)
    : m_model(model), m_eeprom(EEPROM_SIZE, 0xff) {
    m_state.shutdownRaw = DEFAULT_SHUTDOWN_RAW;
    m_state.temperatureByte = 25;
    m_state.rawTemperatures = {535, 540, 546, 551};  // about 25, 26, 27 and 28 degrees
    // A fresh dimmer holds the linear curve of its range.
    const long maxValue = model.maxValue;
    for (DimmerTable& table : m_state.tables) {
        for (int i = 0; i < TABLE_ENTRIES; ++i) {
            table[static_cast<std::size_t>(i)] = static_cast<WORD>(i * maxValue / 255);
        }
    }
}

bool DimmerEmulator::ParseFault(const std::string& text, DimmerFault* fault) {
    for (const auto& f : FAULT_NAMES) {
        if (text == f.name) {
            *fault = f.fault;
            return true;
        }
    }
    return false;
}

const char* DimmerEmulator::FaultName(DimmerFault fault) {
    for (const auto& f : FAULT_NAMES) {
        if (f.fault == fault) {
            return f.name;
        }
    }
    return "?";
}

void DimmerEmulator::SetFault(DimmerFault fault, unsigned lateMs) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_fault = fault;
    m_lateMs = lateMs;
    m_tableWritten = false;
}

DimmerFault DimmerEmulator::Fault() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_fault;
}

void DimmerEmulator::SetTemperatureByte(BYTE celsius) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_state.temperatureByte = celsius;
}

void DimmerEmulator::SetRawTemperatures(const DimmerRawTemperatures& raw) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_state.rawTemperatures = raw;
}

void DimmerEmulator::SetShutdownRaw(WORD raw) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_state.shutdownRaw = raw;
}

void DimmerEmulator::SetTable(int outputIndex, const DimmerTable& table) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (IsOutputIndex(outputIndex)) {
        m_state.tables[static_cast<std::size_t>(outputIndex)] = table;
    }
}

BYTE DimmerEmulator::EepromByte(WORD address) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_eeprom[address];
}

DimmerSnapshot DimmerEmulator::Snapshot() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_state;
}

// The length of the command that starts with `code`, code included; 0 for a byte that starts no
// command. Codes shared between commands are read the way this model reads them.
std::size_t DimmerEmulator::RequestLength(BYTE code) const {
    if (code == CMD_EEPROM_WRITE && m_model.hasEeprom) {
        return EEPROM_WRITE_LENGTH;
    }
    if (code >= CMD_SET_OUTPUT && code < CMD_SET_OUTPUT + OUTPUT_COUNT_MAX) {
        return SET_OUTPUT_LENGTH;
    }
    switch (code) {
        case CMD_IDENTIFY:
        case CMD_READ_TEMPERATURE:
        case CMD_READ_SHUTDOWN_TEMPERATURE:
        case TABLE_TRAILER:
            return 1;
        case CMD_WRITE_SHUTDOWN_TEMPERATURE:
            return WRITE_SHUTDOWN_LENGTH;
        case CMD_WRITE_TABLE_A:
        case CMD_WRITE_TABLE_B:
            return WRITE_TABLE_LENGTH;
        case CMD_READ_TABLE:
            return READ_TABLE_LENGTH;
        default:
            return 0;
    }
}

DeviceReply DimmerEmulator::OnReceive(const std::uint8_t* data, std::size_t count) {
    std::lock_guard<std::mutex> lock(m_mutex);
    DeviceReply reply;
    if (m_state.hungUp) {
        return reply;
    }
    m_pending.insert(m_pending.end(), data, data + count);
    std::size_t used = 0;
    while (used < m_pending.size() && !m_hangUpNow) {
        const BYTE code = m_pending[used];
        const std::size_t length = RequestLength(code);
        if (length == 0) {
            ++m_state.ignored;
            Note(Describe("stray byte 0x%02lx", code));
            ++used;
            continue;
        }
        const bool tableWrite = code == CMD_WRITE_TABLE_A || code == CMD_WRITE_TABLE_B;
        if (tableWrite && m_fault == DimmerFault::HangUpMidTransfer &&
            m_pending.size() - used >= 2) {
            Note(Describe("table write for output %ld broken off", m_pending[used + 1] + 1L));
            m_hangUpNow = true;
            break;
        }
        if (m_pending.size() - used < length) {
            break;  // the rest arrives with a later chunk
        }
        const std::vector<BYTE> command(m_pending.begin() + static_cast<long>(used),
                                        m_pending.begin() + static_cast<long>(used + length));
        used += length;
        ++m_state.commands;
        Execute(command, &reply.bytes);
    }
    m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<long>(used));
    if (m_hangUpNow) {
        m_hangUpNow = false;
        m_state.hungUp = true;
        m_pending.clear();
        reply.hangUp = true;
    }
    if (m_fault == DimmerFault::LateReplies && !reply.bytes.empty()) {
        reply.delayMs = m_lateMs;
    }
    return reply;
}

// A reply as the fault mode lets it out.
void DimmerEmulator::Answer(std::vector<BYTE> bytes, std::vector<BYTE>* reply) {
    switch (m_fault) {
        case DimmerFault::Silent:
            return;
        case DimmerFault::ShortReplies:
            bytes.pop_back();
            break;
        case DimmerFault::Garbage:
            for (BYTE& b : bytes) {
                m_noise = m_noise * 1664525u + 1013904223u;
                b = static_cast<BYTE>(m_noise >> 24);
            }
            break;
        default:
            break;
    }
    reply->insert(reply->end(), bytes.begin(), bytes.end());
}

void DimmerEmulator::Note(const std::string& text) {
    m_state.recent.push_back(text);
    while (m_state.recent.size() > RECENT_LIMIT) {
        m_state.recent.pop_front();
    }
}

void DimmerEmulator::Execute(const std::vector<BYTE>& command, std::vector<BYTE>* reply) {
    const BYTE code = command[0];
    auto ignore = [&](const std::string& what) {
        ++m_state.ignored;
        Note(what + Describe(" (0x%02lx) ignored", code));
    };
    if (code == CMD_EEPROM_WRITE && m_model.hasEeprom) {
        const WORD address = WordFromWire(&command[1]);
        if (EepromCheckByte(command[1], command[2], command[3]) != command[4]) {
            ++m_state.eepromBadChecks;
            Note(Describe("EEPROM 0x%04lx: wrong check byte", address));
            return;
        }
        m_eeprom[address] = command[3];
        ++m_state.eepromBytes;
        m_state.lastEepromAddress = address;
        Note(Describe("EEPROM 0x%04lx = 0x%02lx", address, command[3]));
        return;
    }
    if (code >= CMD_SET_OUTPUT && code < CMD_SET_OUTPUT + OUTPUT_COUNT_MAX) {
        const int output = code - CMD_SET_OUTPUT;
        if (output >= m_model.outputs) {
            ignore("level for a missing output");
            return;
        }
        const WORD level = WordFromWire(&command[1]);
        m_state.levels[static_cast<std::size_t>(output)] = level;
        Note(Describe("output %ld = %ld", output + 1L, level));
        return;
    }
    switch (code) {
        case CMD_IDENTIFY: {
            if (m_fault == DimmerFault::NeverConfirm && m_tableWritten) {
                Note("identify left unanswered");
                return;
            }
            std::vector<BYTE> text(m_model.identifyText,
                                   m_model.identifyText + std::strlen(m_model.identifyText) + 1);
            Note("identify");
            Answer(text, reply);
            return;
        }
        case CMD_READ_TEMPERATURE: {
            if (m_model.temperature == DimmerTemperature::None) {
                ignore("temperature request");
                return;
            }
            std::vector<BYTE> bytes;
            if (m_model.temperature == DimmerTemperature::OneByte) {
                bytes.push_back(m_state.temperatureByte);
            } else {
                for (WORD raw : m_state.rawTemperatures) {
                    bytes.push_back(LowByte(raw));
                    bytes.push_back(HighByte(raw));
                }
            }
            Note("temperature read");
            Answer(bytes, reply);
            return;
        }
        case CMD_READ_SHUTDOWN_TEMPERATURE:
            if (!m_model.hasShutdown) {
                ignore("shut-down request");
                return;
            }
            Note("shut-down temperature read");
            Answer({LowByte(m_state.shutdownRaw), HighByte(m_state.shutdownRaw)}, reply);
            return;
        case CMD_WRITE_SHUTDOWN_TEMPERATURE:
            if (!m_model.hasShutdown) {
                ignore("shut-down write");
                return;
            }
            m_state.shutdownRaw = WordFromWire(&command[1]);
            Note(Describe("shut-down raw = %ld", m_state.shutdownRaw));
            return;
        case CMD_WRITE_TABLE_A:
        case CMD_WRITE_TABLE_B: {
            const int output = command[1];
            if (code != m_model.writeTableCommand || output >= m_model.outputs) {
                ignore("table write");
                return;
            }
            DimmerTable& table = m_state.tables[static_cast<std::size_t>(output)];
            ImageToTable(&command[2], table.data());
            ++m_state.tableWrites[static_cast<std::size_t>(output)];
            m_tableWritten = true;
            Note(Describe("table for output %ld written", output + 1L));
            return;
        }
        case CMD_READ_TABLE: {
            const int output = command[1];
            if (output >= m_model.outputs) {
                ignore("table read");
                return;
            }
            std::vector<BYTE> image(TABLE_IMAGE_SIZE);
            TableToImage(m_state.tables[static_cast<std::size_t>(output)].data(), image.data());
            Note(Describe("table for output %ld read", output + 1L));
            if (m_fault == DimmerFault::HangUpMidTransfer) {
                image.resize(TABLE_IMAGE_SIZE / 2);
                reply->insert(reply->end(), image.begin(), image.end());
                m_hangUpNow = true;
                return;
            }
            Answer(image, reply);
            return;
        }
        case TABLE_TRAILER:
            Note("table trailer");
            return;
        default:
            return;
    }
}
