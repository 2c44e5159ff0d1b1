#include "updater/driver/update_engine.h"

#include <windows.h>

std::uint32_t CMyFunEngine::Now() { return GetTickCount(); }
