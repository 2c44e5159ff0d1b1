// A small synchronous WinHTTP client: one GET at a time, body pulled in blocks.
//
// Created on the stack for one exchange and closed before it goes out of scope
// (the destructor closes whatever is still open); never shared between threads. A
// client made over an HttpSession uses that shared session instead of one of its
// own, so its connection can serve later requests of other clients.
// All calls block; a hanging transfer ends through the time-outs set by OpenSession.
#pragma once

#include <cstdint>
#include <string>

#include "common/http/http_session.h"
#include "common/http/winhttp_handle.h"

// Results of CHttpClient::SendRequest. Callers judge the status code themselves.
enum CHttpRequestResult : int {
    CHTTP_REQUEST_OK = 0,               // response received and its status code read
    CHTTP_REQUEST_ERROR_NOSESSION = 1,  // no session (OpenSession failed or not called)
    CHTTP_REQUEST_ERROR_URL = 2,        // the URL could not be split
    CHTTP_REQUEST_ERROR_CONNECT = 3,    // no connection handle
    CHTTP_REQUEST_ERROR_OPENREQUEST = 4,
    CHTTP_REQUEST_ERROR_SEND = 5,
    CHTTP_REQUEST_ERROR_RECEIVE = 6,
    CHTTP_REQUEST_ERROR_QUERYSTATUS = 7,
    CHTTP_REQUEST_ERROR_CANCLE = 8,  // never returned; handled by callers for completeness
};

// Size of the blocks bodies are read and written in.
constexpr std::uint32_t kHttpBlockSize = 40960;

class CHttpClient {
public:
    CHttpClient() = default;
    // Sends its requests through `shared`, which must outlive the client.
    explicit CHttpClient(HttpSession& shared) : shared_(&shared) {}
    ~CHttpClient() { CloseSession(); }
    CHttpClient(const CHttpClient&) = delete;
    CHttpClient& operator=(const CHttpClient&) = delete;

    // Opens the session (user agent "ZorvikDownload", default proxy, synchronous;
    // time-outs: resolve unlimited, connect 30 s, send 10 s, receive 10 s). A failure
    // leaves the session null; the next SendRequest then returns NOSESSION. Over a
    // shared session: opens that one if it is not open yet.
    void OpenSession();

    // Splits `url` into scheme, host, path, query and port (80 for "http://", 443 for
    // "https://" when none is named). Escape sequences are kept as they are: the URL
    // is sent exactly as given. False for a null URL, another scheme, or a host name
    // longer than 255 characters. Path and query take as many characters as the URL
    // has (a percent-encoded Chinese path is long).
    bool CrackUrl(const wchar_t* url);

    // Closes the previous request, then sends a GET for `url` with the extra `headers`
    // (null for none) and waits for the response. On CHTTP_REQUEST_OK `status` holds
    // the HTTP status code. An "https://" URL is sent over TLS with WinHTTP's full
    // certificate checks; a certificate that fails them ends in CHTTP_REQUEST_ERROR_SEND.
    int SendRequest(const wchar_t* url, int& status, const wchar_t* headers);

    // The response's Content-Length, in 64 bits (a body past 4 GiB is announced
    // exactly). False when the response has none (a chunked body, say): `value` is
    // then 0, which is not an announced empty body.
    bool QueryContentLength(std::uint64_t& value);

    // Reads up to `size` bytes of the body. Success with `read` == 0: body complete.
    bool ReadData(void* buffer, std::uint32_t size, std::uint32_t& read);

    // Closes the request and connection and clears the URL parts; the session stays.
    void CloseRequest();
    // CloseRequest, then closes the session (a shared one stays open for others).
    void CloseSession();

    // Parts of the last cracked URL.
    const wchar_t* HostName() const { return host_.c_str(); }
    const wchar_t* UrlPath() const { return path_.c_str(); }
    const wchar_t* ExtraInfo() const { return extra_.c_str(); }
    std::uint16_t Port() const { return port_; }
    bool IsSecure() const { return secure_; }

private:
    HINTERNET Session() const;
    void CloseRequestParts();

    std::wstring host_;
    std::wstring path_;
    std::wstring extra_;
    std::uint16_t port_ = 80;
    bool secure_ = false;  // the last cracked URL is "https://"
    HttpSession* shared_ = nullptr;  // when set, used instead of session_
    bool sharedOpen_ = false;        // OpenSession was called over the shared session
    win32::unique_hinternet session_;
    win32::unique_hinternet connection_;
    win32::unique_hinternet request_;
};

// One plain GET on its own: opens the client's session, then sends a GET for `url`
// with PlainRequestHeader. SendRequest's result; on CHTTP_REQUEST_OK `status` holds
// the HTTP status code and the body is ready to be read.
int OpenAndSendPlainGet(CHttpClient& client, const std::wstring& url, int& status);
