// Creating the folder chain for a downloaded file.
#pragma once

#include <string>

// True when something exists at `path` afterwards; creates missing parents first.
// `path` has no trailing backslash.
bool EnsureDirectory(const std::wstring& path);
