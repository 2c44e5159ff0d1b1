// Writes SEWI.bin for a release: the update server's address, scrambled the way the
// launcher reads it. Usage: make_sewi <address> <output file>
// The address is the prefix to which the launcher appends "Version/", for example
// http://update.velmora.cn/zorvik/Wakfu/
#include <windows.h>

#include <cstdio>
#include <string>

#include "common/win32/unique_handle.h"
#include "launcher/game/scrambled_file.h"
#include "launcher/util/text_convert.h"

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fputs("usage: make_sewi <address> <output file>\n", stderr);
        return 2;
    }
    const std::string content = EncodeScrambledContent(ToNarrowString(argv[1]));
    win32::unique_file file(
        CreateFileW(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!file || !WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr) ||
        written != content.size()) {
        std::fputs("make_sewi: cannot write the output file\n", stderr);
        return 1;
    }
    return 0;
}
