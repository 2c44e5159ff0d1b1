// MD5 of a byte string in hexadecimal (the usage report's check value).
#pragma once

#include <string>
#include <string_view>

#include "common/digest/md5.h"

// MD5 of the string's bytes (nothing added) as 32 lower-case hexadecimal digits;
// the empty string has a digest too.
std::string Md5Hex(std::string_view bytes);
