#include "common/http/http_session.h"

HINTERNET OpenDownloadSession() {
    HINTERNET session = WinHttpOpen(L"ZorvikDownload", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                                    WINHTTP_NO_PROXY_BYPASS, 0);
    if (session != nullptr) WinHttpSetTimeouts(session, 0, 30000, 10000, 10000);
    return session;
}

HINTERNET HttpSession::Handle() {
    std::lock_guard<std::mutex> guard(lock_);
    if (!session_) session_.reset(OpenDownloadSession());
    return session_.get();
}
