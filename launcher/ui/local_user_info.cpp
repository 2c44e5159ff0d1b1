#include "launcher/ui/local_user_info.h"

#include <curl/curl.h>

#include "launcher/settings/user_folder.h"

CLocalUserInfo::CLocalUserInfo() { curl_global_init(CURL_GLOBAL_ALL); }

CLocalUserInfo::~CLocalUserInfo() { curl_global_cleanup(); }

bool CLocalUserInfo::PrepareUserFolder(const ProgramFolder& folder, bool& firstRun) {
    const settings::UserFolderResult result = settings::PrepareUserFolder(folder.WithSlash());
    firstRun = result.firstRun;
    return result.ok;
}
