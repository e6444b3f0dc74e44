#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "app/wait_before_shutdown.h"
#include "platform/headless/recording_system.h"
#include "platform/platform.h"

namespace {

// The wait ends at the first reading 5000 ms or more after the first, at
// every start of the clock: past the signed limit, across the wrap at 2^32,
// at 0, and with a clock that moves in coarse or odd steps.
TEST(WaitBeforeShutdown, EndsAfter5000MsAtEveryClockReading) {
    const struct {
        std::uint32_t start, step;
    } cases[] = {
        {2147478648u, 1},  // the first reading whose signed deadline would overflow
        {2147478647u, 1},  {2147483647u, 3}, {4294967000u, 1},  // wraps during the wait
        {4294967295u, 16}, {0, 1},           {0, 5000},        {123456, 997},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.start) + " step " + std::to_string(c.step));
        RecordingSystem system;
        std::vector<std::uint32_t> readings;
        system.SetClock([&readings, now = c.start, step = c.step]() mutable {
            readings.push_back(now);
            const std::uint32_t reading = now;
            now += step;
            return reading;
        });
        const Platform saved = gPlatform;
        gPlatform.system = &system;
        Wait_BeforeShutdown();
        gPlatform = saved;
        ASSERT_GE(readings.size(), 2u);
        const std::uint32_t last = readings.back() - c.start;
        const std::uint32_t before = readings[readings.size() - 2] - c.start;
        EXPECT_GE(last, 5000u);
        EXPECT_LT(before, 5000u);
        EXPECT_LT(last, 5000u + c.step);
    }
}

}  // namespace
