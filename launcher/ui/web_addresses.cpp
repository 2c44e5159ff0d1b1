#include "launcher/ui/web_addresses.h"

#include <windows.h>
#include <shellapi.h>

#define VELMORA_WIDEN2(x) L##x
#define VELMORA_WIDEN(x) VELMORA_WIDEN2(x)

namespace web {

const wchar_t* OfficialSite() { return VELMORA_WIDEN(VELMORA_SITE_URL); }
const wchar_t* FeedbackPage() { return VELMORA_WIDEN(VELMORA_FEEDBACK_URL); }
const wchar_t* PortalPage() { return VELMORA_WIDEN(VELMORA_PORTAL_URL); }
const wchar_t* DatabasePage() { return VELMORA_WIDEN(VELMORA_DATABASE_URL); }

namespace {
Opener g_opener = nullptr;
}

void Open(const wchar_t* url, int showCommand) {
    if (g_opener) {
        g_opener(url, showCommand);
        return;
    }
    ShellExecuteW(nullptr, L"open", url, nullptr, nullptr, showCommand);
}

void SetOpener(Opener opener) { g_opener = opener; }

}  // namespace web
