#include "launcher/services/ipc_diagnostic.h"

#include <cstdarg>
#include <cwchar>

#include "launcher/services/log.h"

namespace ipc {

void Diagnostic(const wchar_t* format, ...) {
    wchar_t text[260] = {};
    va_list args;
    va_start(args, format);
    std::vswprintf(text, 260, format, args);
    va_end(args);
    if (g_log) g_log->Write(LOG_IPC, text, true);
}

}  // namespace ipc
