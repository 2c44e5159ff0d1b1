// Text of one usage report: adapter address, check value, body, acceptance rule.
// Pure functions, no platform calls.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace usage {

inline constexpr int32_t kSoftwareId = 181;
inline constexpr char kFallbackAddress[] = "11-11-11-11-11-11";
inline constexpr char kUsageSalt[] = "Hq2Wd7LX)3KTtRJfPa";

// "%02X-%02X-%02X-%02X-%02X-%02X" of the first six bytes.
std::string FormatAdapterAddress(const uint8_t bytes[6]);

// MD5, as 32 lower-case hexadecimal digits, of "181" + address + salt.
std::string CheckValue(const std::string& address);

// "&SoftwareID=181&macAdd=<address>&chk=<check>" for the start-up report (feature
// 181), "&SoftwareID=181&FeaturesID=<feature>&macAdd=...&chk=..." for any other
// feature. Bounded to 1023 characters.
std::string BuildBody(int32_t feature, const std::string& address, const std::string& check);

// A report is accepted only when the endpoint answered exactly "1".
bool IsAccepted(std::string_view response);

}  // namespace usage
