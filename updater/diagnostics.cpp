#include "updater/diagnostics.h"

#include <windows.h>

#include "common/http/http_client.h"
#include "common/text/code_page.h"

void DiagnosticSink::Report(const std::wstring& folder, const std::string& text) const {
    if (handler_) {
        handler_(folder, text);
        return;
    }
    const std::wstring line = folder + L": " + text::CodePageToWide(text, text::kAnsiCodePage);
    OutputDebugStringW(line.c_str());
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
