// The updater's process-wide collaborators, made once in the program's entry and
// passed by reference to the engine functions that need them.
//
// The update worker is never joined and may outlive the dialog, so the entry keeps
// the context in a shared_ptr and the worker holds a copy of it: the context lives
// as long as any thread can still use it.
#pragma once

#include "common/http/http_session.h"
#include "updater/diagnostics.h"
#include "updater/file_digest.h"
#include "updater/signature_text.h"

struct UpdaterContext {
    DiagnosticSink diagnostics;  // where the English diagnostic texts go
    DigestProvider digests;      // the CryptoAPI provider of every file digest
    ManifestTrust manifestTrust; // what the server manifest must carry (the built-in key)
    HttpSession downloads;       // the session every update file is fetched through
};
