// The local manifest "LocalDate.ini": one record per file of the updater folder.
#pragma once

#include <cstdio>
#include <string>

#include "updater/file_digest.h"

// Writes <folder>\LocalDate.ini for the whole folder tree (records "name<TAB>md5<LF>",
// names relative to `folder`, in the ANSI code page). False only when the file
// cannot be created; failures inside the walk become failure texts in the records.
bool BuildLocalManifest(DigestProvider& provider, const std::wstring& folder);

// Writes the records of every file below `folder` into `stream`, names relative to
// `root` (a prefix of `folder`, with trailing backslash). Every file is listed,
// LocalDate.ini itself included (it cannot be hashed while open, so its record holds
// "CalculateMd5Worry").
void AppendManifestEntries(DigestProvider& provider, const std::wstring& folder, std::FILE* stream,
                           const std::wstring& root);

// Deletes LocalDate.ini and UpDate.ini from `folder` if present.
void RemoveManifests(const std::wstring& folder);
