// The game installation the launcher works on, and the per-user facts the
// preference editor and the launch script need.
#pragma once

#include <string>

// Holds the game folder and the launcher folder. One process-wide instance
// (`g_function`), owned by the launcher's entry; used on the user-interface thread
// only, not locked.
class Function {
public:
    // The launcher folder as the entry resolved it (without trailing backslash).
    explicit Function(std::wstring launcherFolder);
    virtual ~Function();

    // Stores a copy of `folder` exactly as given (no trimming, a trailing
    // backslash stays); empty is stored as is.
    void SetGameFolder(const std::wstring& folder);
    std::wstring GetGameFolder() const;
    // The launcher executable's folder, without trailing backslash.
    std::wstring GetLauncherFolder() const;

    // True when <game folder>\Game\jre\win32\x86\bin\javaw.exe exists, as a file or
    // a folder. Tested anew on every call.
    bool IsGameFolderValid() const;

    // The current user's local application data folder; on Windows XP the fixed
    // "C:\Users\Administrator\AppData\Local". Empty when the shell cannot tell.
    std::wstring GetLocalAppDataFolder() const;
    // The logon name of the current user; empty when it cannot be read.
    std::wstring GetCurrentUserName() const;

private:
    std::wstring gameFolder_;
    std::wstring launcherFolder_;
};

// The process-wide instance: null until the launcher's entry (or a test) installs the
// one it owns with a ProcessFunctionScope.
extern Function* g_function;

// Installs `function` as g_function for the lifetime of the scope, restoring the
// previous one.
class ProcessFunctionScope {
public:
    explicit ProcessFunctionScope(Function& function) noexcept : previous_(g_function) { g_function = &function; }
    ~ProcessFunctionScope() { g_function = previous_; }
    ProcessFunctionScope(const ProcessFunctionScope&) = delete;
    ProcessFunctionScope& operator=(const ProcessFunctionScope&) = delete;

private:
    Function* previous_;
};

// The relative path of the game's Java runtime below the game folder.
inline constexpr wchar_t kJavaRuntimeSubPath[] = L"\\Game\\jre\\win32\\x86\\bin\\javaw.exe";

// The XP rule on its own: the folder to use for an OS of version major.minor given
// the shell's answer.
std::wstring ChooseLocalAppDataFolder(const std::wstring& shellAnswer, unsigned major, unsigned minor);
