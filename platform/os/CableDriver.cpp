#include "platform/os/CableDriver.h"

#include <atomic>

#include "platform/os/TtyCableDriver.h"

namespace {
std::atomic<CableDriver*> g_installed{nullptr};
}  // namespace

CableDriver& CurrentCableDriver() {
    CableDriver* installed = g_installed.load(std::memory_order_acquire);
    return installed != nullptr ? *installed : ProductionCableDriver();
}

void SetCableDriver(CableDriver* driver) {
    g_installed.store(driver, std::memory_order_release);
}
