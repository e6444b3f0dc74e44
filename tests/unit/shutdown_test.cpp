#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/error.h"
#include "shutdown/mdlShutdown.h"
#include "tests/fakes/platform_fixture.h"

namespace {

using Calls = std::vector<std::string>;

const std::string kVersion = "GetVersionExA(148, zero-filled)";
const std::string kExit = "ExitWindowsEx(5, 0)";

class Shutdown : public PlatformFixture {
protected:
    // The NT sequence with the token handle that OpenProcessToken gave.
    static Calls NtCalls(const std::string& token) {
        return {kVersion,
                "GetCurrentProcess()",
                "OpenProcessToken(-1, 40, &token)",
                "LookupPrivilegeValueA(null, \"SeShutdownPrivilege\", &luid)",
                "AdjustTokenPrivileges(" + token + ", 0, {1, 0:19, 2}, 16, &previous, &length=0)",
                "CloseHandle(" + token + ")",
                kExit};
    }
};

TEST_F(Shutdown, ThePlatformFamilyChoosesTheWay) {
    const std::string token = std::to_string(RecordingSystem().tokenHandle);
    const struct {
        std::uint32_t platformId;
        bool versionFails;
        Calls calls;
        bool refusal;
    } cases[] = {
        {0, false, {kVersion}, true},           {2, true, {kVersion}, true},  // a failed query reads as Win32s
        {1, false, {kVersion, kExit}, false},   {2, false, NtCalls(token), false},
        {3, false, {kVersion}, false},          {4, false, {kVersion}, false},
        {0xFFFFFFFF, false, {kVersion}, false},
    };
    for (const auto& c : cases) {
        RecordingSystem fresh;
        system = fresh;
        system.platformId = c.platformId;
        system.versionFails = c.versionFails;
        toolkit.boxes.clear();
        Exec_Shutdown();
        EXPECT_EQ(system.Calls(), c.calls) << "platform " << c.platformId;
        if (c.refusal) {
            ASSERT_EQ(toolkit.boxes.size(), 1u);
            EXPECT_EQ(toolkit.boxes[0].prompt, u"Windows3.1では利用できません");
            EXPECT_EQ(toolkit.boxes[0].style, 0);
            EXPECT_EQ(toolkit.boxes[0].title, u"PelloryV2_0");
        } else {
            EXPECT_TRUE(toolkit.boxes.empty()) << "platform " << c.platformId;
        }
    }
}

TEST_F(Shutdown, EveryStepRunsWhenThePrivilegeCannotBeHad) {
    system.privilegeHeld = false;
    Exec_Shutdown();
    EXPECT_EQ(system.Calls(), NtCalls(std::to_string(system.tokenHandle)));

    // Without a token the later steps still run, on the handle left at 0.
    system = RecordingSystem();
    system.tokenFails = true;
    Exec_Shutdown();
    EXPECT_EQ(system.Calls(), NtCalls("0"));
    EXPECT_TRUE(toolkit.boxes.empty());
}

TEST_F(Shutdown, AnErrorInAnyCallEndsTheShutdownAndReachesTheCaller) {
    const Calls all = NtCalls(std::to_string(RecordingSystem().tokenHandle));
    const char* const names[] = {"GetVersionExA",         "GetCurrentProcess",     "OpenProcessToken",
                                 "LookupPrivilegeValueA", "AdjustTokenPrivileges", "CloseHandle",
                                 "ExitWindowsEx"};
    for (std::size_t i = 0; i < all.size(); ++i) {
        SCOPED_TRACE(names[i]);
        system = RecordingSystem();
        system.raises[names[i]] = 453;  // a system function that cannot be found
        try {
            Exec_Shutdown();
            ADD_FAILURE() << "no error reached the caller";
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.Number(), 453);
        }
        EXPECT_EQ(system.Calls(), Calls(all.begin(), all.begin() + std::ptrdiff_t(i) + 1));
    }
}

TEST_F(Shutdown, TheNtPathAloneEnablesThenShutsDown) {
    Exec_ShutdownNT();
    Calls expected = NtCalls(std::to_string(system.tokenHandle));
    expected.erase(expected.begin());
    EXPECT_EQ(system.Calls(), expected);
}

}  // namespace
