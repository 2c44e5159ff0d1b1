#include "launcher/services/adapter_address.h"

// clang-format off
#include <winsock2.h>
#include <iphlpapi.h>
// clang-format on

#include <vector>

#include "launcher/services/usage_report.h"

namespace usage {

bool QueryFirstAdapterAddress(std::string& address, unsigned long bufferSize) {
    // Room for the records, aligned as the records need.
    std::vector<IP_ADAPTER_INFO> records(bufferSize / sizeof(IP_ADAPTER_INFO) + 1);
    ULONG size = bufferSize;
    if (GetAdaptersInfo(records.data(), &size) != ERROR_SUCCESS) return false;
    address = FormatAdapterAddress(records[0].Address);
    return true;
}

}  // namespace usage
