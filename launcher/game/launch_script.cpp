#include "launcher/game/launch_script.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>

#include "common/win32/unique_handle.h"
#include "launcher/game/file_bytes.h"
#include "launcher/game/game_locations.h"
#include "launcher/game/launch_script_text.h"
#include "launcher/util/text_convert.h"

namespace {

std::wstring ScriptFolder(const GameLocations& where) { return where.gameFolder + L"\\game"; }
std::wstring ScriptPath(const GameLocations& where) { return ScriptFolder(where) + L"\\RunGame.bat"; }

}  // namespace

std::string ScriptFolderText(const std::wstring& gameFolder) {
    std::wstring slashed = gameFolder;
    std::replace(slashed.begin(), slashed.end(), L'\\', L'/');
    return WideToChs(slashed);
}

bool IsScriptFolderRepresentable(const std::wstring& gameFolder) {
    return ChsToWide(WideToChs(gameFolder)) == gameFolder;
}

std::wstring BuildLaunchScript(const GameLocations& where, int tier) {
    return ChsToWide(BuildLaunchScriptText(tier, ScriptFolderText(where.gameFolder), WideToChs(where.userName)));
}

std::wstring BuildLaunchScript(int tier) { return BuildLaunchScript(CurrentGameLocations(), tier); }

bool WriteLaunchScriptFile(const GameLocations& where, int tier) {
    // A script that names a mangled folder could only fail to find the game.
    if (where.gameFolder.empty() || !IsScriptFolderRepresentable(where.gameFolder)) return false;
    const std::wstring path = ScriptPath(where);
    const std::string bytes = ToTextModeBytes(WideToChs(BuildLaunchScript(where, tier)));
    {
        win32::unique_file file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return false;
        if (WriteAllBytes(file.get(), bytes)) return true;
    }
    // Never leave a cut-off script that a later start could run.
    DeleteFileW(path.c_str());
    return false;
}

int WriteLaunchScript(const GameLocations& where, int tier) {
    if (!WriteLaunchScriptFile(where, tier)) return 0;
    const std::wstring path = ScriptPath(where);
    const std::wstring folder = ScriptFolder(where);
    const HINSTANCE started = ShellExecuteW(nullptr, L"open", path.c_str(), nullptr, folder.c_str(), SW_HIDE);
    // The shell answers a value above 32 when it ran the script.
    return reinterpret_cast<INT_PTR>(started) > 32 ? 1 : -1;
}

int WriteLaunchScript(int tier) { return WriteLaunchScript(CurrentGameLocations(), tier); }
