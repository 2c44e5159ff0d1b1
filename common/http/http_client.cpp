#include "common/http/http_client.h"

#include <cwchar>

#include "common/http/request_headers.h"

namespace {

constexpr DWORD kHostRoom = 256;

}  // namespace

void CHttpClient::OpenSession() {
    CloseSession();
    if (shared_ != nullptr) {
        sharedOpen_ = shared_->Handle() != nullptr;
        return;
    }
    session_.reset(OpenDownloadSession());
}

HINTERNET CHttpClient::Session() const {
    if (shared_ != nullptr) return sharedOpen_ ? shared_->Handle() : nullptr;
    return session_.get();
}

bool CHttpClient::CrackUrl(const wchar_t* url) {
    if (url == nullptr) return false;
    // No part is longer than the URL itself; a host name has at most 255 characters
    // (DNS), so a longer one is no URL.
    const DWORD room = static_cast<DWORD>(std::wcslen(url)) + 1;
    const DWORD hostRoom = room < kHostRoom ? room : kHostRoom;
    host_.assign(hostRoom, L'\0');
    path_.assign(room, L'\0');
    extra_.assign(room, L'\0');
    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof(parts);
    parts.lpszHostName = host_.data();
    parts.dwHostNameLength = hostRoom;
    parts.lpszUrlPath = path_.data();
    parts.dwUrlPathLength = room;
    parts.lpszExtraInfo = extra_.data();
    parts.dwExtraInfoLength = room;
    parts.nPort = 80;
    // No escaping flag: callers pass URLs that are already percent-encoded, and they
    // must reach the server exactly so. (With ICU_ESCAPE, Wine re-escapes the '%' of
    // the last path segment and the query, so "%E6" would arrive as "%25E6".)
    if (!WinHttpCrackUrl(url, 0, 0, &parts)) {
        CloseRequestParts();
        return false;
    }
    host_.resize(parts.dwHostNameLength);
    path_.resize(parts.dwUrlPathLength);
    extra_.resize(parts.dwExtraInfoLength);
    if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) return false;
    port_ = parts.nPort;
    secure_ = parts.nScheme == INTERNET_SCHEME_HTTPS;
    return true;
}

int CHttpClient::SendRequest(const wchar_t* url, int& status, const wchar_t* headers) {
    CloseRequest();
    const HINTERNET session = Session();
    if (session == nullptr) return CHTTP_REQUEST_ERROR_NOSESSION;
    if (!CrackUrl(url)) return CHTTP_REQUEST_ERROR_URL;

    connection_.reset(WinHttpConnect(session, host_.c_str(), port_, 0));
    if (!connection_) return CHTTP_REQUEST_ERROR_CONNECT;

    std::wstring object = path_ + extra_;
    request_.reset(WinHttpOpenRequest(connection_.get(), L"GET", object.c_str(), nullptr, WINHTTP_NO_REFERER,
                                      WINHTTP_DEFAULT_ACCEPT_TYPES, secure_ ? WINHTTP_FLAG_SECURE : 0));
    if (!request_) return CHTTP_REQUEST_ERROR_OPENREQUEST;

    const wchar_t* extra = headers != nullptr ? headers : WINHTTP_NO_ADDITIONAL_HEADERS;
    const DWORD extraLength = headers != nullptr ? static_cast<DWORD>(-1) : 0;
    if (!WinHttpSendRequest(request_.get(), extra, extraLength, WINHTTP_NO_REQUEST_DATA, 0, 0, 0))
        return CHTTP_REQUEST_ERROR_SEND;
    if (!WinHttpReceiveResponse(request_.get(), nullptr)) return CHTTP_REQUEST_ERROR_RECEIVE;

    wchar_t text[256] = {};  // 512 bytes
    DWORD size = sizeof(text) - sizeof(wchar_t);
    if (!WinHttpQueryHeaders(request_.get(), WINHTTP_QUERY_STATUS_CODE, WINHTTP_HEADER_NAME_BY_INDEX, text, &size,
                             WINHTTP_NO_HEADER_INDEX))
        return CHTTP_REQUEST_ERROR_QUERYSTATUS;
    status = static_cast<int>(std::wcstol(text, nullptr, 10));
    return CHTTP_REQUEST_OK;
}

bool CHttpClient::QueryContentLength(std::uint64_t& value) {
    value = 0;
    if (!request_) return false;
    // Read as text: the numeric form of the query is a 32-bit DWORD.
    wchar_t text[64] = {};
    DWORD size = sizeof(text) - sizeof(wchar_t);
    if (!WinHttpQueryHeaders(request_.get(), WINHTTP_QUERY_CONTENT_LENGTH, WINHTTP_HEADER_NAME_BY_INDEX, text, &size,
                             WINHTTP_NO_HEADER_INDEX))
        return false;
    value = ContentLengthValue(text);
    return true;
}

bool CHttpClient::ReadData(void* buffer, std::uint32_t size, std::uint32_t& read) {
    read = 0;
    if (!request_) return false;
    DWORD got = 0;
    if (!WinHttpReadData(request_.get(), buffer, size, &got)) return false;
    read = got;
    return true;
}

void CHttpClient::CloseRequestParts() {
    host_.clear();
    path_.clear();
    extra_.clear();
}

void CHttpClient::CloseRequest() {
    CloseRequestParts();
    secure_ = false;
    request_.reset();
    connection_.reset();
}

void CHttpClient::CloseSession() {
    CloseRequest();
    session_.reset();
    sharedOpen_ = false;
}

int OpenAndSendPlainGet(CHttpClient& client, const std::wstring& url, int& status) {
    client.OpenSession();
    status = 0;
    const std::wstring header = PlainRequestHeader();
    return client.SendRequest(url.c_str(), status, header.c_str());
}
