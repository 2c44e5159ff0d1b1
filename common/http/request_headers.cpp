#include "common/http/request_headers.h"

std::wstring PlainRequestHeader() {
    return L"Cache-Control: no-cache\r\n";
}

std::wstring ResumeRequestHeader(std::uint32_t offset) {
    return L"Cache-Control: no-cache\r\nRange:bytes=" + std::to_wstring(offset) + L"-\r\n";
}
