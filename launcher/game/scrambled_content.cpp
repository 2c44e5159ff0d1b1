#include "launcher/game/scrambled_content.h"

#include <cctype>
#include <cstdlib>

namespace {

// The deployment's key: 212 characters, nine of them tabs, the rest printable ASCII.
constexpr char kScrambleKey[] =
    "e\t7z&hzQK1r]@pfgpvwsDm[otUR*)f<a2M-|*]Kox5)8%8N=5:-7%WCB!EwLWLIb4"
    "SF)s$K\tC<+7WE2\tXm>9naOQ4W^|od^comH#fx\tlw4z33>-!1TL)aR$@+\tjGK1Z"
    "6094PVe\t#_4;Mp+g6J\t'_zmy[EAe7a0=p70giH-';$OP/A4\tR[p$7\t{FqyNu|~"
    "QhY:9K[cbq{e%$;4[x@lLu7";
static_assert(sizeof(kScrambleKey) - 1 == kScrambleKeyLength, "the key has 212 characters");

}  // namespace

void XorWithKey(std::string& text) {
    // The key is a constant, so any number of threads may scramble at once.
    size_t k = 0;
    for (char& byte : text) {
        byte = static_cast<char>(byte ^ kScrambleKey[k]);
        k = (k + 1 == kScrambleKeyLength) ? 0 : k + 1;
    }
}

std::string DecodeScrambledContent(std::string_view content) {
    size_t begin = 0;
    while (begin < content.size() && std::isspace(static_cast<unsigned char>(content[begin]))) ++begin;
    size_t end = begin;
    while (end < content.size() && !std::isspace(static_cast<unsigned char>(content[end]))) ++end;
    std::string_view token = content.substr(begin, end - begin);

    std::string bytes;
    for (size_t caret = token.find('^'); caret != std::string_view::npos; caret = token.find('^')) {
        const std::string piece(token.substr(0, caret));
        bytes.push_back(static_cast<char>(std::atoi(piece.c_str()) & 0xff));
        token.remove_prefix(caret + 1);
    }
    XorWithKey(bytes);
    return bytes;
}

std::string EncodeScrambledContent(std::string_view address) {
    std::string bytes(address);
    XorWithKey(bytes);
    std::string content;
    for (unsigned char byte : bytes) {
        content += std::to_string(byte);
        content += '^';
    }
    return content;
}
