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

}  // namespace duires
