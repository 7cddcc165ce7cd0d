// What the pseudo-terminal player asks of the device it plays: for the bytes that arrived, the
// bytes to answer (sent at the wire rate) and how to misbehave while doing so.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct DeviceReply {
    std::vector<std::uint8_t> bytes;  // sent in order, each at its wire time
    unsigned delayMs = 0;             // pause before the first byte (a late reply)
    bool hangUp = false;              // close the link once the bytes are out (a disconnect)
};

class DeviceResponder {
public:
    virtual ~DeviceResponder() = default;
    // Called on the player's thread for every chunk received, in arrival order.
    virtual DeviceReply OnReceive(const std::uint8_t* data, std::size_t count) = 0;
};
