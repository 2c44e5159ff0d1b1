#pragma once

#include <string>

// Creates `path` and, for a path with a drive colon, every missing parent below the
// drive root. A path without a colon is created in one step (its parent must exist).
// Returns 1 when the whole path exists as a folder afterwards, 0 on the first failure.
int CreateDirectoryTree(const std::wstring& path);
