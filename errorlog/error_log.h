// The error-record layer: one record per Util::Log::Guard, appended to
// log\log_error.log beside the executable.
//
// Record: "[YYYY-MM-DD HH:MM:SS]\t<level>\t<module>\t<source file>:<line>\t<text>"
// followed by CR LF, in the ANSI code page. The streamed text is taken as UTF-8
// (the encoding of the sources' narrow literals); line ends inside it are stored as
// spaces so that one record stays one line.
#pragma once

#include <source_location>
#include <sstream>
#include <string>

#include "errorlog/error_record.h"

namespace Util::Log {

enum Level : int {
    Fatal = 1,
    Error = 3,
    Warning = 5,
    Detail = 7,
};

// Records are made for levels up to this value (7 by default).
void SetMaxLevel(int level);
int MaxLevel();

// Redirects the records to `folder` (no trailing backslash); empty restores the
// default, <executable folder>\log.
void SetOutputFolder(const std::wstring& folder);
// The file the records go to now.
std::wstring OutputFile();

// Collects one record; the destructor appends it to the file. Never throws.
class Guard {
public:
    Guard(Level level, const std::string& module, const std::string& sourceFile, int line);
    // The record names the place the guard is made at: the caller's own source file
    // (as the compiler names it) and line, so it always points at real code.
    Guard(Level level, const std::string& module, std::source_location where = std::source_location::current());
    ~Guard();
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;

    std::ostream& stream() { return text_; }

    template <typename T>
    Guard& operator<<(const T& value) {
        text_ << value;
        return *this;
    }

private:
    int level_;
    std::string module_;
    std::string sourceFile_;
    int line_;
    std::ostringstream text_;
};

}  // namespace Util::Log

// True when a record of `level` is to be made.
bool genericLogCheckLevel(Util::Log::Level level);
