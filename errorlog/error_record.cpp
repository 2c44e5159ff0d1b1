#include "errorlog/error_record.h"

namespace Util::Log {

std::string FormatRecord(const std::string& timeStamp, int level, const std::string& module,
                         const std::string& sourceFile, int line, const std::string& text) {
    std::string flat = text;
    for (char& c : flat) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    return timeStamp + "\t" + std::to_string(level) + "\t" + module + "\t" + sourceFile + ":" +
           std::to_string(line) + "\t" + flat;
}

}  // namespace Util::Log
