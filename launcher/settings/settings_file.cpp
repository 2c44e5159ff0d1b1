#include "launcher/settings/settings_file.h"

#include <cstdlib>

#include "launcher/util/profile.h"
#include "launcher/util/text_convert.h"

namespace settings {

std::wstring ReadText(SettingKey setting) { return ReadProfileValue(setting.section, setting.key, kSettingsFile); }

int ParseStoredNumber(const std::wstring& text) { return std::atoi(WideToChs(text).c_str()); }

int ReadNumber(SettingKey setting) { return ParseStoredNumber(ReadText(setting)); }

int WriteText(SettingKey setting, const std::wstring& value) {
    return WriteProfileValue(setting.section, setting.key, value, kSettingsFile);
}

int WriteNumber(SettingKey setting, int value) { return WriteText(setting, std::to_wstring(value)); }

}  // namespace settings
