// One updater per program folder. Two updaters over one folder would hash, download
// and replace the same files and write the same restart batch; the second start
// brings the first dialog to the front instead and ends.
#pragma once

#include <windows.h>

#include <string>

#include "common/win32/unique_handle.h"

// The folder as one text for comparing: no extended-length prefix, no trailing
// backslash, upper-cased without regard to the user's language (file names are
// case-blind). Pure; the long form of 8.3 names is FolderInstance's business.
std::wstring FolderKey(const std::wstring& folder);

// The name of the mutex that marks an updater over `folder` in this session:
// "Local\Velmora.Updater." and a 64-bit hash of FolderKey in hexadecimal (a path may
// be longer than a mutex name may be).
std::wstring FolderInstanceName(const std::wstring& folder);

class FolderInstance {
public:
    // True when no other updater runs over `folder`: the mark is this process's until
    // the object goes. False when another process holds it. When the mark cannot be
    // made at all the updater runs (true): one that cannot start helps nobody.
    bool Acquire(const std::wstring& folder);

private:
    win32::unique_handle mutex_;
};

// Finds the update dialog of another updater whose executable lies in `folder`, and
// restores it when minimised and brings it to the front. Waits at most `timeoutMs`
// for it to show (it may still be starting). True when found.
bool BringFolderDialogToFront(const std::wstring& folder, DWORD timeoutMs);
