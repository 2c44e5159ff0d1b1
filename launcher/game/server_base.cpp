#include "launcher/game/server_base.h"

#include "launcher/game/scrambled_file.h"
#include "launcher/util/text_convert.h"

namespace {
// Initialised with the other process-wide objects, before WinMain.
const std::wstring g_serverBaseText = ToWideString(LoadScrambledText());
}  // namespace

const std::wstring& ServerBaseText() { return g_serverBaseText; }
