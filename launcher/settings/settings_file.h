// The launcher's own settings file, user\ResInfo.ini below the program folder.
// Every value is read from and written to the file at once; nothing is cached.
#pragma once

#include <string>
#include <utility>

namespace settings {

// The file, relative to the launcher folder.
inline constexpr wchar_t kSettingsFile[] = L"user\\ResInfo.ini";

// One stored setting: a section and a key of the settings file.
struct SettingKey {
    const wchar_t* section;
    const wchar_t* key;
};

inline constexpr SettingKey kGamePath{L"GamePath", L"Path"};
inline constexpr SettingKey kStartMode{L"StartMode", L"isCheck"};
inline constexpr SettingKey kSightview{L"Sightview", L"isCheck"};
inline constexpr SettingKey kNoSound{L"NoSound", L"isCheck"};
inline constexpr SettingKey kStartModel{L"StartModel", L"StartModel"};
inline constexpr SettingKey kLodLevel{L"LodLevel", L"LodLevel"};
inline constexpr SettingKey kFightLevel{L"FightLevel", L"FightLevel"};
inline constexpr SettingKey kMusicMute{L"musicMute", L"isCheck"};
inline constexpr SettingKey kAmbianceSoundsMute{L"ambianceSoundsMute", L"isCheck"};
inline constexpr SettingKey kUiSoundsMute{L"uiSoundsMute", L"isCheck"};
inline constexpr SettingKey kMeteoEffect{L"MeteoEffect", L"isCheck"};
inline constexpr SettingKey kShaders{L"Shaders", L"isCheck"};
inline constexpr SettingKey kAlphaMask{L"AlphaMask", L"isCheck"};
inline constexpr SettingKey kResolution{L"Resolution", L"Resolution"};
inline constexpr SettingKey kWindowsStyle{L"WindowsStyle", L"WindowsStyle"};
inline constexpr SettingKey kCustomWidth{L"Editkuan", L"Width"};
inline constexpr SettingKey kCustomHeight{L"Editgao", L"Height"};
inline constexpr SettingKey kCloseOrMin{L"CloseOrMin", L"isCheck"};

// The settings file of one program folder: <folder>\user\ResInfo.ini.
class SettingsFile {
public:
    // `programFolder` without trailing backslash; with an empty one every value reads
    // as empty and nothing is written.
    explicit SettingsFile(std::wstring programFolder) : folder_(std::move(programFolder)) {}

    const std::wstring& ProgramFolderPath() const noexcept { return folder_; }

    // Text of a setting; empty when the file, section or key is missing.
    std::wstring ReadText(SettingKey setting) const;
    // Number of a setting: the text converted to 8-bit and read by atoi, so an absent
    // or non-numeric value is 0 and "1920a" is 1920.
    int ReadNumber(SettingKey setting) const;
    // Writes the text; returns the profile API's result (non-zero on success).
    int WriteText(SettingKey setting, const std::wstring& value) const;
    // Writes the number in decimal.
    int WriteNumber(SettingKey setting, int value) const;

private:
    std::wstring folder_;
};

// The atoi rule on a stored value, usable on any text.
int ParseStoredNumber(const std::wstring& text);

}  // namespace settings
