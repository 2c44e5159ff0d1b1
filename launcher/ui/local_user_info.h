// The local user information manager: sets up the network library for the process
// and the per-user folder with its first-run marker.
#pragma once

#include "launcher/util/program_folder.h"

class CLocalUserInfo {
public:
    CLocalUserInfo();   // curl_global_init(CURL_GLOBAL_ALL)
    ~CLocalUserInfo();  // curl_global_cleanup()
    CLocalUserInfo(const CLocalUserInfo&) = delete;
    CLocalUserInfo& operator=(const CLocalUserInfo&) = delete;

    // Prepares <folder>\user\default\config.ini. False when a folder or the marker
    // cannot be made; `firstRun` tells whether anything was missing.
    bool PrepareUserFolder(const ProgramFolder& folder, bool& firstRun);
};
