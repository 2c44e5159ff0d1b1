// The line of one error record, apart from the file it goes to. Pure.
#pragma once

#include <string>

namespace Util::Log {

// "<timeStamp>\t<level>\t<module>\t<sourceFile>:<line>\t<text>" without its line end;
// CR and LF inside `text` become blanks so that one record stays one line.
std::string FormatRecord(const std::string& timeStamp, int level, const std::string& module,
                         const std::string& sourceFile, int line, const std::string& text);

}  // namespace Util::Log
