// Reads SEWI.bin beside itself the way the launcher does and writes the unscrambled
// bytes as hexadecimal digits into the file named on the command line, so a test can
// check a SEWI.bin written by another tool against the launcher's own reader.
#include <windows.h>

#include <cstdio>
#include <string>

#include "launcher/game/scrambled_file.h"
#include "launcher/util/module_folder.h"

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) return 2;
    const std::string text = LoadScrambledTextFrom(ScrambledFilePathIn(GetModuleFolder()));
    FILE* out = _wfopen(argv[1], L"wb");
    if (out == nullptr) return 1;
    for (unsigned char byte : text) std::fprintf(out, "%02x", byte);
    const bool written = std::fclose(out) == 0;
    return written ? 0 : 1;
}
