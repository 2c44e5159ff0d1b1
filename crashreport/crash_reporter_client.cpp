#include "crashreport/crash_reporter_client.h"

namespace crashreport {
namespace {

template <typename Fn>
Fn ByOrdinal(HMODULE module, WORD ordinal) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, MAKEINTRESOURCEA(ordinal))));
}

std::wstring DefaultDllPath() {
    wchar_t buffer[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    std::wstring path(buffer);
    return path.substr(0, path.rfind(L'\\') + 1) + kDllName;
}

}  // namespace

CrashReporterClient::CrashReporterClient(const std::wstring& dllPath) {
    const std::wstring path = dllPath.empty() ? DefaultDllPath() : dllPath;
    module_.reset(LoadLibraryW(path.c_str()));
    if (!module_) {
        loadError_ = L"The crash reporter could not be loaded: " + path;
        return;
    }
    install_ = ByOrdinal<InstallFn>(module_.get(), kOrdinalInstall);
    uninstall_ = ByOrdinal<UninstallFn>(module_.get(), kOrdinalUninstall);
    lastError_ = ByOrdinal<LastErrorMessageFn>(module_.get(), kOrdinalLastErrorMessage);
    addScreenshot_ = ByOrdinal<AddScreenshotFn>(module_.get(), kOrdinalAddScreenshot);
    if (!install_ || !uninstall_ || !lastError_ || !addScreenshot_) {
        loadError_ = L"The crash reporter lacks an expected function: " + path;
    }
}

CrashReporterClient::~CrashReporterClient() {
    if (filterInstalled_) (void)module_.release();  // pinned: the filter may still run
}

int CrashReporterClient::Install(const InstallInfo& info) {
    if (!loadError_.empty()) return 1;
    const int result = install_(&info);
    if (result == 0) filterInstalled_ = true;
    return result;
}

std::wstring CrashReporterClient::LastErrorMessage() {
    if (!loadError_.empty()) return loadError_.substr(0, 255);
    wchar_t buffer[256] = {};
    lastError_(buffer, 256);
    return buffer;
}

int CrashReporterClient::AddScreenshot(DWORD flags, int quality) {
    return loadError_.empty() ? addScreenshot_(flags, quality) : 1;
}

int CrashReporterClient::Uninstall() {
    if (!loadError_.empty()) return 1;
    const int result = uninstall_();
    if (result == 0) filterInstalled_ = false;
    return result;
}

}  // namespace crashreport
