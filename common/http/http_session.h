// One WinHTTP session shared by the clients of many transfers.
//
// WinHTTP keeps finished keep-alive connections in its session and hands them to the
// next request for the same server, so files fetched through one session pay for the
// connection set-up once instead of once per file. The session is opened on first
// use, with the settings of CHttpClient::OpenSession, and closed with the object; a
// failed open is retried by the next caller. Any thread may call Handle; the handle
// stays valid until the object is destroyed, which must come after every client
// using it has closed.
#pragma once

#include <mutex>

#include "common/http/winhttp_handle.h"

class HttpSession {
public:
    HttpSession() = default;
    HttpSession(const HttpSession&) = delete;
    HttpSession& operator=(const HttpSession&) = delete;

    // The session handle, or null when none can be opened now.
    HINTERNET Handle();

private:
    std::mutex lock_;
    win32::unique_hinternet session_;
};

// Opens a session with the client's user agent, proxy settings and time-outs; null
// on failure.
HINTERNET OpenDownloadSession();
