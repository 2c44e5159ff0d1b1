#include "launcher/settings/settings_file.h"

#include <cstdlib>

#include "launcher/util/profile.h"
#include "launcher/util/text_convert.h"

namespace settings {

std::wstring SettingsFile::ReadText(SettingKey setting) const {
    return ReadProfileValueIn(folder_, setting.section, setting.key, kSettingsFile);
}

int ParseStoredNumber(const std::wstring& text) { return std::atoi(WideToChs(text).c_str()); }

int SettingsFile::ReadNumber(SettingKey setting) const { return ParseStoredNumber(ReadText(setting)); }

int SettingsFile::WriteText(SettingKey setting, const std::wstring& value) const {
    return WriteProfileValueIn(folder_, setting.section, setting.key, value, kSettingsFile);
}

int SettingsFile::WriteNumber(SettingKey setting, int value) const {
    return WriteText(setting, std::to_wstring(value));
}

}  // namespace settings
