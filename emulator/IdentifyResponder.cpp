#include "emulator/IdentifyResponder.h"

#include "link/DeviceCommands.h"

DeviceReply IdentifyResponder::OnReceive(const std::uint8_t* data, std::size_t count) {
    DeviceReply reply;
    for (std::size_t i = 0; i < count; ++i) {
        if (data[i] == CMD_IDENTIFY) {
            reply.bytes.insert(reply.bytes.end(), m_text.begin(), m_text.end());
        }
    }
    return reply;
}
