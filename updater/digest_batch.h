// Digest records for many files at once.
#pragma once

#include <string>
#include <vector>

// FileMd5Record for every path, in the order given. Files are hashed by up to two
// threads, so that opening many small files (slow on some systems) overlaps with
// hashing a large one. Blocks until all are done.
std::vector<std::string> DigestRecords(const std::vector<std::wstring>& paths);
