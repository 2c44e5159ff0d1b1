// The folder of the running executable and the user's special folders.
#pragma once

#include <string>

// The executable's path cut before its last backslash (no trailing backslash);
// empty when the module file name cannot be read. The launcher's entry asks once and
// hands the answer down as its ProgramFolder.
std::wstring GetModuleFolder();

// Stores the roaming application data folder (CSIDL_APPDATA, created if missing) in
// `folder` and returns 0; on failure leaves `folder` empty and returns 1.
int GetRoamingAppDataFolder(std::wstring& folder);
