// A device for transport tests: answers every chunk it receives with the reply a test set, and
// keeps everything it received.
#pragma once

#include <mutex>
#include <vector>

#include "emulator/DeviceResponder.h"

class ScriptedResponder final : public DeviceResponder {
public:
    explicit ScriptedResponder(DeviceReply reply = {}) : m_reply(std::move(reply)) {}

    void SetReply(DeviceReply reply) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_reply = std::move(reply);
    }
    DeviceReply OnReceive(const std::uint8_t* data, std::size_t count) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_received.insert(m_received.end(), data, data + count);
        return m_reply;
    }
    std::vector<std::uint8_t> Received() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_received;
    }

    static std::vector<std::uint8_t> Pattern(std::size_t count) {
        std::vector<std::uint8_t> bytes(count);
        for (std::size_t i = 0; i < count; ++i) {
            bytes[i] = static_cast<std::uint8_t>(i * 7 + 1);
        }
        return bytes;
    }

private:
    mutable std::mutex m_mutex;
    DeviceReply m_reply;
    std::vector<std::uint8_t> m_received;
};
