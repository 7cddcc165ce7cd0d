#include "platform/os/SerialPortService.h"

#include <atomic>

#include "platform/os/TermiosSerialPortService.h"

namespace {
TermiosSerialPortService g_production;
std::atomic<SerialPortService*> g_current{&g_production};
}  // namespace

SerialPortService& CurrentSerialPortService() {
    return *g_current.load(std::memory_order_acquire);
}

void SetSerialPortService(SerialPortService* service) {
    g_current.store(service ? service : &g_production, std::memory_order_release);
}
