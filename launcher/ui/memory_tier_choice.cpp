#include "launcher/ui/memory_tier_choice.h"

#include <windows.h>

int MemoryTierForPhysicalMemory(unsigned long long physicalBytes) {
    constexpr unsigned long long kGiB = 1ull << 30;
    const unsigned long long gib = (physicalBytes + kGiB / 2) / kGiB;
    if (gib <= 8) return 0;
    if (gib < 16) return 1;
    return 2;
}

int MemoryTierForThisMachine() {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof(status);
    if (!GlobalMemoryStatusEx(&status)) return 0;
    return MemoryTierForPhysicalMemory(status.ullTotalPhys);
}
