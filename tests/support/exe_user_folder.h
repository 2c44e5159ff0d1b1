// A fixture for tests of the settings file: it lies in <executable folder>\user, so
// each test starts from an empty user folder there and removes it at the end.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

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
};

}  // namespace testing_support
