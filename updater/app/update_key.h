// The publisher's key built into this program, as the manifest trust of its updates.
#pragma once

#include "updater/signature_text.h"

// Required with the built-in key, or nothing required when the build has none.
ManifestTrust BuiltInManifestTrust();
