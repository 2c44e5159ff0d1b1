#include "launcher/services/usage_report.h"

#include <cstdio>

#include "launcher/util/md5.h"

namespace usage {

std::string FormatAdapterAddress(const uint8_t bytes[6]) {
    char text[32] = {};
    std::snprintf(text, sizeof text, "%02X-%02X-%02X-%02X-%02X-%02X", bytes[0], bytes[1], bytes[2], bytes[3],
                  bytes[4], bytes[5]);
    return text;
}

std::string CheckValue(const std::string& address) {
    return Md5Hex(std::to_string(kSoftwareId) + address + kUsageSalt);
}

std::string BuildBody(int32_t feature, const std::string& address, const std::string& check) {
    char body[1024] = {};
    if (feature == kSoftwareId) {
        std::snprintf(body, sizeof body, "&SoftwareID=%d&macAdd=%s&chk=%s", static_cast<int>(kSoftwareId),
                      address.c_str(), check.c_str());
    } else {
        std::snprintf(body, sizeof body, "&SoftwareID=%d&FeaturesID=%d&macAdd=%s&chk=%s",
                      static_cast<int>(kSoftwareId), static_cast<int>(feature), address.c_str(), check.c_str());
    }
    return body;
}

bool IsAccepted(std::string_view response) { return response == "1"; }

}  // namespace usage
