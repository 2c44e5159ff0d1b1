// The bare WinHTTP reference: fetches the URLs of a list in sequence with the
// plainest possible read loop and writes each body to <out folder>\<n>.bin
// (or discards it without a folder). Prints seconds, bytes and MB/s.
//   winhttp_fetch <url list file> [out folder]
#include <windows.h>
#include <winhttp.h>

#include <vector>

#include "bench/bench_support.h"

namespace {

long long Fetch(HINTERNET session, const std::wstring& url, const std::wstring& outPath) {
    wchar_t host[260] = {}, path[2048] = {};
    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof(parts);
    parts.lpszHostName = host;
    parts.dwHostNameLength = 259;
    parts.lpszUrlPath = path;
    parts.dwUrlPathLength = 2047;
    if (!WinHttpCrackUrl(url.c_str(), 0, 0, &parts)) return -1;
    HINTERNET connection = WinHttpConnect(session, host, parts.nPort, 0);
    HINTERNET request = connection ? WinHttpOpenRequest(connection, L"GET", path, nullptr, WINHTTP_NO_REFERER,
                                                        WINHTTP_DEFAULT_ACCEPT_TYPES, 0)
                                   : nullptr;
    long long total = -1;
    if (request && WinHttpSendRequest(request, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0) &&
        WinHttpReceiveResponse(request, nullptr)) {
        HANDLE out = outPath.empty() ? INVALID_HANDLE_VALUE
                                     : CreateFileW(outPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                                   FILE_ATTRIBUTE_NORMAL, nullptr);
        std::vector<char> buffer(40960);
        total = 0;
        for (;;) {
            DWORD read = 0;
            if (!WinHttpReadData(request, buffer.data(), static_cast<DWORD>(buffer.size()), &read)) {
                total = -1;
                break;
            }
            if (read == 0) break;
            total += read;
            DWORD written = 0;
            if (out != INVALID_HANDLE_VALUE) WriteFile(out, buffer.data(), read, &written, nullptr);
        }
        if (out != INVALID_HANDLE_VALUE) CloseHandle(out);
    }
    if (request) WinHttpCloseHandle(request);
    if (connection) WinHttpCloseHandle(connection);
    return total;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: winhttp_fetch <url list file> [out folder]\n");
        return 2;
    }
    const auto urls = bench::ReadLines(argv[1]);
    const std::wstring outFolder = argc > 2 ? bench::Widen(argv[2]) : L"";
    HINTERNET session = WinHttpOpen(L"ZorvikDownload", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                                    WINHTTP_NO_PROXY_BYPASS, 0);
    if (!session) return 1;
    const auto start = std::chrono::steady_clock::now();
    long long bytes = 0;
    for (size_t i = 0; i < urls.size(); ++i) {
        const long long n =
            Fetch(session, urls[i], outFolder.empty() ? L"" : outFolder + L"\\" + std::to_wstring(i) + L".bin");
        if (n < 0) {
            std::fprintf(stderr, "failed: %ls\n", urls[i].c_str());
            return 1;
        }
        bytes += n;
    }
    const double seconds = bench::SecondsSince(start);
    WinHttpCloseHandle(session);
    std::printf("winhttp_fetch files=%zu bytes=%lld seconds=%.3f MBps=%.1f peak_private_MiB=%.1f\n", urls.size(), bytes,
                seconds, bytes / seconds / 1e6, bench::PeakPrivateMiB());
    return 0;
}
