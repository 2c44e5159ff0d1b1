// Committing a game folder the player chose in the folder chooser.
#pragma once

#include <string>

class Function;

// Shown in the chooser's path field when a candidate is rejected.
inline constexpr wchar_t kRejectedFolderText[] = L" 错误,请选择正确的游戏根目录路径";

// Takes `candidate` exactly as given. When it holds the game's Java runtime it
// becomes the game folder and is written to GamePath/Path in user\ResInfo.ini of the
// function's launcher folder, and the result is true. Otherwise the previous game folder is restored, nothing is
// written, and the result is false.
bool CommitGameFolderCandidate(Function& function, const std::wstring& candidate);
