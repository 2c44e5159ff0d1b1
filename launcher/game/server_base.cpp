#include "launcher/game/server_base.h"

#include "launcher/game/scrambled_file.h"
#include "launcher/util/text_convert.h"

std::wstring ReadServerBaseText(const std::wstring& programFolder) {
    return ToWideString(LoadScrambledTextFrom(ScrambledFilePathIn(programFolder)));
}
