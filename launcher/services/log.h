// The launcher's plain-text trace logs, in the folder "log" beside the executable (the
// launcher's context gives that folder).
#pragma once

#include <windows.h>

#include <map>
#include <string>

enum LogFileId : int {
    LOG_INTER = 0,  // log_inter.log: start-up, main window, usage statistics
    LOG_IPC = 1,    // log_IPC.log: named-pipe layer
    LOG_DLL = 2,    // log_DLL.log
};

class Log {
public:
    // Uses `folder` (without trailing backslash; the launcher's is <program folder>\log),
    // creating it (and missing parents) if needed.
    explicit Log(const std::wstring& folder);
    // The same with another size cap per file; for tests.
    Log(const std::wstring& folder, unsigned long long maxFileBytes);
    virtual ~Log();
    Log(const Log&) = delete;
    Log& operator=(const Log&) = delete;

    // Appends `text` (which carries its own "\n") to the file of `id`, after the time
    // prefix when `withTime` is set. Stored in the file-API code page with CR LF line
    // ends. Serialised across threads; every line is on disk when this returns.
    // Unknown ids and failures to open the file are silent. A file that would grow
    // past the cap is first moved to "<name>.1" (replacing an older one) and a new
    // file begins, so no writer, local or a pipe peer, can fill the disk.
    void Write(int id, const std::wstring& text, bool withTime);

    // "[YYYY-MM-DD HH:MM:SS]\t" for the current local time.
    static std::wstring TimeStamp();

    // The log folder with its trailing backslash.
    const std::wstring& Folder() const { return folder_; }

    // Each file's cap: 8 MiB.
    static constexpr unsigned long long kDefaultMaxFileBytes = 8ull << 20;

private:
    void Init(std::wstring folder);

    std::map<int, std::wstring> files_;
    std::wstring folder_;
    CRITICAL_SECTION writeLock_;
    unsigned long long maxFileBytes_ = kDefaultMaxFileBytes;
};

// True when a file of `currentBytes` must move aside before `addingBytes` more are
// appended under a cap of `maxBytes`. An empty file never moves: a single line larger
// than the cap is written whole into a fresh file.
bool LogNeedsRollover(unsigned long long currentBytes, unsigned long long addingBytes, unsigned long long maxBytes);

// The time prefix for the given local time; year unpadded, the rest two digits.
std::wstring FormatTimePrefix(int year, int month, int day, int hour, int minute, int second);

// Makes sure `path` exists as a folder or file, creating missing parents. True when
// it exists afterwards.
bool MakeLogFolder(const std::wstring& path);

// The process-wide log instance: null until the launcher's entry (or a test) installs
// the log it owns with a ProcessLogScope; components that trace test it first.
extern Log* g_log;

// Installs `log` as g_log for the lifetime of the scope, restoring the previous one.
class ProcessLogScope {
public:
    explicit ProcessLogScope(Log& log) noexcept : previous_(g_log) { g_log = &log; }
    ~ProcessLogScope() { g_log = previous_; }
    ProcessLogScope(const ProcessLogScope&) = delete;
    ProcessLogScope& operator=(const ProcessLogScope&) = delete;

private:
    Log* previous_;
};
