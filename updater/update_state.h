// Fetching the server manifest and comparing it with the local one.
#pragma once

#include <string>

#include "updater/signature_text.h"
#include "updater/update_compare.h"

inline constexpr wchar_t kUpdateStateError[] = L"Error";    // server manifest not obtained
inline constexpr wchar_t kUpdateStateAllNew[] = L"Allnew";  // nothing to download
inline constexpr wchar_t kUpdateStatePart[] = L"Part";      // updateList is non-empty

// Downloads manifestUrl + "UpDate.ini" into <folder>\UpDate.ini, reads it and
// <folder>\LocalDate.ini (built before by BuildLocalManifest), and compares them.
// `state` is one of the three texts above; `updateList` is empty unless "Part".
// A response whose status is not 200 is "Error" (an error page is no manifest).
// When `trust` requires a signature, the manifest is used only if "UpDate.ini.sig"
// beside it verifies over its exact bytes; otherwise the state is "Error".
// Diagnostics go to Diagnose(). Blocks; call from the worker thread.
void GetUpdateState(UpdateList& updateList, const std::wstring& manifestUrl, const std::wstring& folder,
                    std::wstring& state, const ManifestTrust& trust = ManifestTrust{});
