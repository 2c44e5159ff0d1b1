// Digest records for many files at once.
#pragma once

#include <string>
#include <vector>

#include "updater/file_digest.h"

// FileMd5Record for every path, in the order given. Files are hashed by up to two
// threads, largest first (by `sizes`, parallel to `paths`; may be empty), so that
// opening many small files (slow on some systems) overlaps with hashing a large one
// instead of waiting for it. Blocks until all are done.
std::vector<std::string> DigestRecords(DigestProvider& provider, const std::vector<std::wstring>& paths,
                                       const std::vector<unsigned long long>& sizes = {});
