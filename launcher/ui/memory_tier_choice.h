// The memory tier that fits a machine, for a first run that has no saved tier.
#pragma once

// The tier the tier texts name for `physicalBytes` of memory: 0 for 8 GB or less,
// 1 between 8 and 16 GB, 2 for 16 GB or more. The size is rounded to the nearest
// whole GiB first, because a machine reports a little less than its fitted memory.
int MemoryTierForPhysicalMemory(unsigned long long physicalBytes);

// The tier for this machine (GlobalMemoryStatusEx); 0 when the size is unknown.
int MemoryTierForThisMachine();
