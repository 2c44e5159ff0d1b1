#include "updater/diagnostics.h"

#include <windows.h>

#include "common/http/http_client.h"

namespace {

DiagnosticSink& Sink() {
    static DiagnosticSink sink;
    return sink;
}

std::wstring AnsiToWide(const std::string& text) {
    if (text.empty()) return {};
    const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return wide;
}

}  // namespace

void Diagnose(const std::wstring& folder, const std::string& text) {
    if (Sink()) {
        Sink()(folder, text);
        return;
    }
    const std::wstring line = folder + L": " + AnsiToWide(text);
    OutputDebugStringW(line.c_str());
}

void SetDiagnosticSink(DiagnosticSink sink) {
    Sink() = std::move(sink);
}

std::string RequestFailureDiagnostic(int requestResult) {
    switch (requestResult) {
        case CHTTP_REQUEST_ERROR_NOSESSION:
        case CHTTP_REQUEST_ERROR_URL:
        case CHTTP_REQUEST_ERROR_QUERYSTATUS:
            return "server error\n!";
        case CHTTP_REQUEST_ERROR_CANCLE:
            return "server CHTTP_REQUEST_ERROR_CANCLE\n!";
        default:
            return "server unkonw error\n!";
    }
}
