// RAII owner for WinHTTP handles (session, connection, request).
#pragma once

#include <windows.h>
#include <winhttp.h>

#include "common/win32/unique_handle.h"

namespace win32 {

using unique_hinternet = unique_any<handle_traits<HINTERNET, ::WinHttpCloseHandle, 0>>;

}  // namespace win32
