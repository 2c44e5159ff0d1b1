#include "launcher/game/preference_editor.h"

#include <windows.h>

#include "common/win32/unique_handle.h"
#include "launcher/game/file_bytes.h"
#include "launcher/game/game_locations.h"
#include "launcher/game/preference_lines.h"
#include "launcher/util/text_convert.h"

namespace {

constexpr DWORD kShareReadWrite = FILE_SHARE_READ | FILE_SHARE_WRITE;

// A read-only file is left alone. Windows refuses to replace it anyway, but not every
// system does (Wine lets the replace through), so the attribute is
// checked here rather than left to the file system.
bool IsReadOnly(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

// A fresh temporary file every time: a leftover of an interrupted edit is truncated,
// never continued.
enum class TempWrite { kNotCreated, kFailed, kWritten };

TempWrite WriteTemporaryFile(const std::wstring& path, const std::string& bytes) {
    win32::unique_file file(CreateFileW(path.c_str(), GENERIC_WRITE, kShareReadWrite, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return TempWrite::kNotCreated;
    if (!WriteAllBytes(file.get(), bytes) || !FlushFileBuffers(file.get())) return TempWrite::kFailed;
    return TempWrite::kWritten;
}

// Adds `entry` and a line end at the end of the file, creating the file (not its
// folder) when absent. A last line that lacks its line end gets one first, so the
// new entry never runs on from an existing one.
bool AppendLine(const std::wstring& path, const std::string& entry) {
    if (IsReadOnly(path)) return false;
    win32::unique_file file(CreateFileW(path.c_str(), GENERIC_READ | FILE_APPEND_DATA, kShareReadWrite, nullptr,
                                        OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    std::string bytes;
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file.get(), &size) && size.QuadPart > 0) {
        LARGE_INTEGER last{};
        last.QuadPart = size.QuadPart - 1;
        char tail = '\n';
        DWORD read = 0;
        if (SetFilePointerEx(file.get(), last, nullptr, FILE_BEGIN) && ReadFile(file.get(), &tail, 1, &read, nullptr) &&
            read == 1 && tail != '\n') {
            bytes = "\r\n";
        }
    }
    bytes += entry;
    bytes += "\r\n";
    return WriteAllBytes(file.get(), bytes);
}

}  // namespace

int ReplaceInFile(std::string path, std::string search, std::string replacement) {
    const std::wstring target = ChsToWide(path);
    if (target.empty()) return -1;
    std::string content;
    if (!ReadFileBytes(target, content)) return -1;

    const PreferenceLineEdit edit = EditPreferenceLines(content, search, replacement);
    const int result = edit.matched ? 0 : -1;
    if (IsReadOnly(target)) return result;

    const std::wstring temporary = target + L".tmp";
    switch (WriteTemporaryFile(temporary, edit.text)) {
        case TempWrite::kNotCreated:
            return -1;
        case TempWrite::kFailed:
            DeleteFileW(temporary.c_str());
            return result;
        case TempWrite::kWritten:
            break;
    }
    // One step that either puts the new content in place or leaves the original as it
    // was; deleting first would lose the file whenever the rename then failed.
    if (!MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(temporary.c_str());
    }
    return result;
}

std::string UserPreferencesPath(const std::wstring& localAppDataFolder) {
    return WideToChs(localAppDataFolder) + "\\Ankama\\WakfuChina\\game\\preferences\\userPreferences.properties";
}

bool SetUserPreference(const GameLocations& where, const std::string& search, const std::string& replacement,
                       bool append) {
    // Without a known folder the path would fall back to the current drive's root.
    if (where.localAppDataFolder.empty()) return false;
    const std::string path = UserPreferencesPath(where.localAppDataFolder);
    if (ReplaceInFile(path, search, replacement) == 0) return true;
    if (append) AppendLine(ChsToWide(path), replacement);
    return false;
}

bool SetUserPreference(const std::string& search, const std::string& replacement, bool append) {
    return SetUserPreference(CurrentGameLocations(), search, replacement, append);
}
