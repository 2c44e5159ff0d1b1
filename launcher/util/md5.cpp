#include "launcher/util/md5.h"

std::string Md5Hex(std::string_view bytes) {
    Md5 md5;
    md5.Update(bytes.data(), bytes.size());
    return DigestToHex(md5.Finish());
}
