// Wires the headless file system, the recording system and the message-box
// recorder into gPlatform for one test, with the log path already set, and
// puts the previous platform back afterwards.
#pragma once
#include <gtest/gtest.h>

#include "log/log_file.h"
#include "platform/headless/recording_system.h"
#include "platform/headless/temp_file_system.h"
#include "platform/platform.h"
#include "tests/fakes/log_fakes.h"

class PlatformFixture : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = gPlatform;
        gPlatform.files = &files;
        gPlatform.system = &system;
        gPlatform.toolkit = &toolkit;
        Get_LogFileName();
    }
    void TearDown() override {
        gPlatform = saved_;
        gLogFileName.clear();
    }

    TempFileSystem files;
    RecordingSystem system;
    MsgBoxRecorder toolkit;

private:
    Platform saved_;
};
