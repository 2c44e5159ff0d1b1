#include "launcher/game/folder_commit.h"

#include "launcher/game/game_folder.h"
#include "launcher/settings/settings_file.h"

bool CommitGameFolderCandidate(Function& function, const std::wstring& candidate) {
    const std::wstring previous = function.GetGameFolder();
    function.SetGameFolder(candidate);
    if (function.IsGameFolderValid()) {
        settings::SettingsFile(function.GetLauncherFolder()).WriteText(settings::kGamePath, candidate);
        return true;
    }
    function.SetGameFolder(previous);
    return false;
}
