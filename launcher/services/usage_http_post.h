// One form POST through libcurl, for the usage reports.
#pragma once

#include <cstddef>
#include <string>

namespace usage {

inline constexpr long kRequestTimeoutSeconds = 3;
// Largest response body kept. Only "1" is ever accepted, so anything longer is a
// failure anyway; the bound keeps a hostile or broken endpoint from filling memory.
inline constexpr size_t kMaxResponseBytes = 64 * 1024;

// POSTs `body` to `url` (whole transfer bounded to 3 s) and stores the response body
// in `response`. Returns the response length; 0 without a request when `url` or
// `body` is empty, and 0 when the transfer failed (the reason goes to stderr).
// A response over kMaxResponseBytes aborts the transfer.
size_t HttpPostForm(const std::string& url, const std::string& body, std::string& response);

}  // namespace usage
