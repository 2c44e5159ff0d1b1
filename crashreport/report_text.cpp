#include "crashreport/report_text.h"

#include <cwchar>

namespace crashreport {

std::wstring ExceptionName(uint32_t code) {
    switch (code) {
        case 0xC0000005: return L"EXCEPTION_ACCESS_VIOLATION";
        case 0xC000008C: return L"EXCEPTION_ARRAY_BOUNDS_EXCEEDED";
        case 0x80000003: return L"EXCEPTION_BREAKPOINT";
        case 0xC0000094: return L"EXCEPTION_INT_DIVIDE_BY_ZERO";
        case 0xC000001D: return L"EXCEPTION_ILLEGAL_INSTRUCTION";
        case 0xC00000FD: return L"EXCEPTION_STACK_OVERFLOW";
        case 0xC0000409: return L"STATUS_STACK_BUFFER_OVERRUN";
        case 0xE06D7363: return L"C++ exception";
        default: return L"";
    }
}

std::wstring FormatCrashReport(const CrashFacts& f) {
    wchar_t number[64];
    std::wstring text;
    auto line = [&text](const std::wstring& key, const std::wstring& value) {
        text += key + L": " + value + L"\r\n";
    };
    line(L"Application", f.appName);
    line(L"Version", f.appVersion);
    line(L"Time", f.time);
    std::swprintf(number, 64, L"%u", f.processId);
    line(L"Process", number);
    std::swprintf(number, 64, L"%u", f.threadId);
    line(L"Thread", number);
    std::swprintf(number, 64, L"0x%08X", f.exceptionCode);
    const std::wstring name = ExceptionName(f.exceptionCode);
    line(L"Exception", name.empty() ? std::wstring(number) : std::wstring(number) + L" " + name);
    std::swprintf(number, 64, L"0x%llX", static_cast<unsigned long long>(f.exceptionAddress));
    line(L"Address", number);
    if (!f.moduleName.empty()) {
        std::swprintf(number, 64, L"+0x%llX", static_cast<unsigned long long>(f.moduleOffset));
        line(L"Module", f.moduleName + L" " + number);
    }
    line(L"Minidump", f.minidumpWritten ? L"crash.dmp" : L"not written");
    if (f.screenshotWritten) line(L"Screenshot", L"screenshot.jpg");
    if (!f.emailTo.empty()) {
        text += L"\r\nPlease send this folder to " + f.emailTo;
        if (!f.emailSubject.empty()) text += L" with the subject \"" + f.emailSubject + L"\"";
        text += L".\r\n";
    }
    return text;
}

std::wstring ReportFolderName(int year, int month, int day, int hour, int minute, int second, uint32_t pid) {
    wchar_t buffer[80];
    std::swprintf(buffer, 80, L"crash_%04d%02d%02d_%02d%02d%02d_%u", year, month, day, hour, minute, second, pid);
    return buffer;
}

}  // namespace crashreport
