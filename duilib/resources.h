// Where layouts and images come from: the process-wide instance, resource folder and
// resource archive, and loading a named resource from them. Set up once on the
// user-interface thread before any window is created (CPaintManagerUI forwards its
// static setters here).
#pragma once

#include <windows.h>

#include <string>

namespace duires {

void SetInstance(HINSTANCE instance);
HINSTANCE GetInstance();
// The executable's folder with a trailing backslash.
std::wstring GetInstancePath();

// A relative folder is taken relative to the instance path. A trailing backslash is
// added when missing.
void SetResourcePath(const std::wstring& folder);
std::wstring GetResourcePath();
// Empty name: resources are plain files below the resource folder. `cached`: keep the
// parsed archive in memory instead of re-reading it for every resource.
void SetResourceZip(const std::wstring& archiveName, bool cached);
std::wstring GetResourceZip();

// Reads the resource `name` (relative, '\\' or '/'), from the archive when one is
// set, otherwise from the resource folder. False with a readable reason in `error`
// when the archive or the member is missing or damaged.
bool LoadResource(const std::wstring& name, std::string& bytes, std::wstring& error);

// Where `name` would be read from now, as one text: the archive (or, without one, the
// plain file) with its size and last-write time, then the name. Two loads with the
// same identity read the same bytes, so what was decoded for one serves the other;
// replacing the archive changes it.
std::wstring ResourceIdentity(const std::wstring& name);

// While one is alive, an archive that is not cached is read and parsed once and then
// serves every load (a frame that loads many images reads the archive once, not once
// per image). At its end the archive is let go again.
class ArchiveSession {
public:
    ArchiveSession();
    ~ArchiveSession();
    ArchiveSession(const ArchiveSession&) = delete;
    ArchiveSession& operator=(const ArchiveSession&) = delete;
};

}  // namespace duires
