// Diagnostics of the named-pipe layer, appended with the time prefix to log_IPC.log.
#pragma once

namespace ipc {

// printf-style, wide format (use %ls for wide strings); the text is cut at 260
// characters and carries its own "\n". Safe from any thread.
void Diagnostic(const wchar_t* format, ...);

}  // namespace ipc
