// The smallest device: answers every identify byte with a fixed text and ignores the rest.
#pragma once

#include <string>

#include "emulator/DeviceResponder.h"

class IdentifyResponder final : public DeviceResponder {
public:
    explicit IdentifyResponder(std::string text) : m_text(std::move(text)) {}
    DeviceReply OnReceive(const std::uint8_t* data, std::size_t count) override;

private:
    std::string m_text;
};
