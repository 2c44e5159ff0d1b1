// Fetching the server manifest and comparing it with the local one.
#pragma once

#include <string>

#include "updater/diagnostics.h"
#include "updater/signature_text.h"
#include "updater/update_compare.h"

enum class UpdateState {
    Error,   // the server manifest was not obtained or could not be read
    AllNew,  // nothing to download
    Part,    // updateList is non-empty
};

// Downloads manifestUrl + "UpDate.ini" into <folder>\UpDate.ini, reads it and
// <folder>\LocalDate.ini (built before by BuildLocalManifest), and compares them.
// `updateList` is empty unless the state is Part. A response whose status is not
// 200 is Error (an error page is no manifest).
// When `trust` requires a signature, the manifest is used only if "UpDate.ini.sig"
// beside it verifies over its exact bytes; otherwise the state is Error.
// Diagnostics go to `diagnostics`. Blocks; call from the worker thread.
void GetUpdateState(const DiagnosticSink& diagnostics, UpdateList& updateList, const std::wstring& manifestUrl,
                    const std::wstring& folder, UpdateState& state, const ManifestTrust& trust = ManifestTrust{});
