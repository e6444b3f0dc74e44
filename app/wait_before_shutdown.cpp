#include "app/wait_before_shutdown.h"

#include <cstdint>

#include "platform/platform.h"

void Wait_BeforeShutdown() {
    constexpr std::uint32_t kWaitMs = 5000;
    // Elapsed time as an unsigned 32-bit difference: right at every start
    // reading, across the signed limit and across the clock's wrap at 2^32.
    const std::uint32_t start = gPlatform.system->timeGetTime();
    while (std::uint32_t(gPlatform.system->timeGetTime() - start) < kWaitMs) {}
}
