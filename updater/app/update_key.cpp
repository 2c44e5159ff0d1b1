#include "updater/app/update_key.h"

// VELMORA_UPDATE_PUBLIC_KEY is set per program by the build: the deployment's key,
// the key made for a test build tree, or "" for an unsigned build. The configure
// checks its form; a key CNG still refuses makes every manifest fail, never pass.
ManifestTrust BuiltInManifestTrust() { return TrustFromKeyText(VELMORA_UPDATE_PUBLIC_KEY); }
