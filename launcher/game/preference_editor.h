// Edits of the game's preference files on disk: one search-and-replace pass over a
// whole file, and the per-user preference entry with its append fallback.
// User-interface thread only (paths go through the process-wide C runtime locale).
#pragma once

#include <string>

struct GameLocations;

// Rewrites the file at `path` (Chinese ANSI text) with EditPreferenceLines and
// replaces it atomically through `path` + ".tmp". Returns 0 when at least one line
// held `search`, -1 otherwise; the file is rewritten (line ends normalised to CR LF)
// even when nothing matched.
//
// -1 without touching anything when the file cannot be opened for reading (missing,
// locked without read sharing) or the temporary file cannot be created. When writing
// the temporary file or replacing the original fails, the original stays exactly as
// it was, the temporary file is removed, and the result still tells whether a line
// matched.
int ReplaceInFile(std::string path, std::string search, std::string replacement);

// The user-preference file below a local application data folder, as Chinese ANSI text.
std::string UserPreferencesPath(const std::wstring& localAppDataFolder);

// ReplaceInFile on the user-preference file of `where`. When no line matched (or the
// file could not be edited) and `append` is set, `replacement` is added as a new last
// line; the file is created when absent, its folder never. True when a line matched.
bool SetUserPreference(const GameLocations& where, const std::string& search, const std::string& replacement,
                       bool append);
// The same on the running launcher's user-preference file.
bool SetUserPreference(const std::string& search, const std::string& replacement, bool append);
