// Creating folders: the one folder maker of both programs.
#pragma once

#include <cstddef>
#include <string>

namespace files {

// Creates the one folder `path` (its parent must exist). True when `path` is a folder
// afterwards, whether it was created now or existed before; false when the creation
// failed or something other than a folder stands there.
bool MakeFolder(const std::wstring& path);

// Creates every folder along `path` whose boundary (backslash) lies at or after
// `firstBoundarySearch`, then `path` itself: for "C:\a\b" with 3 that is "C:\a" and
// "C:\a\b". Stops at the first folder that cannot be made (false). A trailing
// backslash ends with a last attempt on the whole path, which then exists.
bool MakeFolderChain(const std::wstring& path, std::size_t firstBoundarySearch);

// The length of the part of `path` no folder creation may touch: "C:\" (3) and "C:"
// (2) for a drive, "\\server\share\" for a UNC path, "\\?\C:\" for a long-path form,
// 1 for a path rooted at the current drive ("\a"), 0 for a relative path.
std::size_t FolderRootLength(const std::wstring& path);

// Creates `path` with every missing parent below its root (FolderRootLength).
// False for an empty path.
bool MakeFolderTree(const std::wstring& path);

}  // namespace files
