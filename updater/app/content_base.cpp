#include "updater/app/content_base.h"

// VELMORA_CONTENT_BASE is set per program by the build (a deployment's server, or
// 127.0.0.1 for the test build).
const wchar_t* ContentBaseUrl() { return L"" VELMORA_CONTENT_BASE; }
