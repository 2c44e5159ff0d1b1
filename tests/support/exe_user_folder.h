// A fixture for tests of the settings file: it lies in <executable folder>\user, so
// each test starts from an empty user folder there and removes it at the end. The
// executable's folder stands for the program folder; settingsFile_ is its file.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "launcher/settings/settings_file.h"
#include "tests/support/test_files.h"

namespace testing_support {

class ExeUserFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        userFolder_ = ExecutableFolder() + L"\\user";
        RemoveTree(userFolder_);
        ASSERT_TRUE(CreateDirectoryW(userFolder_.c_str(), nullptr));
    }
    void TearDown() override { RemoveTree(userFolder_); }

    std::wstring userFolder_;
    settings::SettingsFile settingsFile_{ExecutableFolder()};
};

}  // namespace testing_support
