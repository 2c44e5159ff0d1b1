// Memory the shell hands out with CoTaskMemAlloc (item identifier lists above all),
// freed with CoTaskMemFree on every way out.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <shtypes.h>

#include <memory>

struct CoTaskMemFreer {
    void operator()(void* memory) const noexcept { CoTaskMemFree(memory); }
};
template <typename T>
using unique_cotaskmem = std::unique_ptr<T, CoTaskMemFreer>;
// An absolute item identifier list, as SHBrowseForFolderW and
// SHGetSpecialFolderLocation return.
using unique_pidl = unique_cotaskmem<ITEMIDLIST_ABSOLUTE>;
