// A throw-away game installation for the preference and start tests: a game folder
// and a local application data folder whose names hold a space and Chinese text.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "launcher/game/game_locations.h"
#include "tests/support/test_files.h"

namespace game_test {

class GameFolders : public ::testing::Test {
protected:
    void SetUp() override {
        using testing_support::Wide;
        ASSERT_FALSE(root_.path().empty());
        where_.gameFolder = root_ / Wide("游戏 Wakfu");
        where_.localAppDataFolder = root_ / Wide("本地 数据");
        where_.userName = Wide("测试用户");
        prefsFolder_ = where_.localAppDataFolder + L"\\Ankama\\WakfuChina\\game\\preferences";
        prefsFile_ = prefsFolder_ + L"\\userPreferences.properties";
        configFile_ = where_.gameFolder + L"\\game\\config.properties";
        ASSERT_TRUE(testing_support::MakeFolders(prefsFolder_));
        ASSERT_TRUE(testing_support::MakeFolders(where_.gameFolder + L"\\game"));
    }

    std::string Prefs() const { return testing_support::ReadBytes(prefsFile_); }
    void SetPrefs(const std::string& bytes) const { ASSERT_TRUE(testing_support::WriteBytes(prefsFile_, bytes)); }

    testing_support::TempDir root_{L"game"};
    GameLocations where_;
    std::wstring prefsFolder_;
    std::wstring prefsFile_;
    std::wstring configFile_;
};

}  // namespace game_test
