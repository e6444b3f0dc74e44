#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/headless/recording_system.h"

// The later waits depend on the clock wrapping as the real one does, at 2^32,
// from start values just below the signed and the unsigned limits.
TEST(RecordingSystem, TheClockAdvancesPerReadingAndWraps) {
    const struct {
        std::uint32_t start, step;
        std::vector<std::uint32_t> readings;
    } cases[] = {
        {0, 1, {0, 1, 2}},
        {2147478648u, 2500, {2147478648u, 2147481148u, 2147483648u}},
        {4294967000u, 200, {4294967000u, 4294967200u, 104}},
    };
    for (const auto& c : cases) {
        RecordingSystem system;
        system.SetClock(c.start, c.step);
        std::vector<std::uint32_t> got;
        for (std::size_t i = 0; i < c.readings.size(); ++i) got.push_back(system.timeGetTime());
        EXPECT_EQ(got, c.readings);
        EXPECT_EQ(system.CallsTo("timeGetTime").size(), c.readings.size());
    }
    RecordingSystem scripted;
    std::uint32_t next = 7;
    scripted.SetClock([&next] { return next *= 2; });
    EXPECT_EQ(scripted.timeGetTime(), 14u);
    EXPECT_EQ(scripted.timeGetTime(), 28u);
    EXPECT_EQ(scripted.Calls(), (std::vector<std::string>{"timeGetTime() = 14", "timeGetTime() = 28"}));
}
