// The crash reporter DLL: once installed, an unhandled exception in the program
// writes a minidump, a short text report and (optionally) a screenshot into a new
// folder below the save folder, then lets the process end.
#include <windows.h>
#include <dbghelp.h>
#include <gdiplus.h>
#include <psapi.h>

#include <mutex>
#include <string>

#include "common/fs/folder_tree.h"
#include "common/text/code_page.h"
#include "common/win32/gdi_handle.h"
#include "common/win32/unique_handle.h"
#include "crashreport/crash_report_api.h"
#include "crashreport/report_text.h"

namespace crashreport {
namespace {

struct ReporterState {
    bool installed = false;
    std::wstring appName, appVersion, emailTo, emailSubject, saveFolder;
    DWORD flags = 0;
    DWORD screenshotFlags = 0;
    int screenshotQuality = 0;
    LPTOP_LEVEL_EXCEPTION_FILTER previousFilter = nullptr;
    std::wstring lastError = L"Unspecified error.";
};

std::mutex g_lock;
ReporterState g_state;

void SetLastErrorText(const std::wstring& text) { g_state.lastError = text; }

std::wstring Utf16OrEmpty(const wchar_t* text) { return text ? std::wstring(text) : std::wstring(); }

bool WriteUtf8File(const std::wstring& path, const std::wstring& text) {
    const std::string bytes = "\xEF\xBB\xBF" + text::WideToCodePage(text, text::kUtf8CodePage);
    win32::unique_file file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD written = 0;
    return WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

bool WriteMinidump(const std::wstring& path, EXCEPTION_POINTERS* exception, DWORD threadId) {
    win32::unique_file file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    MINIDUMP_EXCEPTION_INFORMATION info{};
    info.ThreadId = threadId;
    info.ExceptionPointers = exception;
    info.ClientPointers = FALSE;
    return MiniDumpWriteDump(GetCurrentProcess(), GetCurrentProcessId(), file.get(), MiniDumpNormal,
                             exception ? &info : nullptr, nullptr, nullptr) != FALSE;
}

bool FindJpegEncoder(CLSID& clsid) {
    UINT count = 0, size = 0;
    if (Gdiplus::GetImageEncodersSize(&count, &size) != Gdiplus::Ok || size == 0) return false;
    std::string buffer(size, '\0');
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (Gdiplus::GetImageEncoders(count, size, codecs) != Gdiplus::Ok) return false;
    for (UINT i = 0; i < count; ++i) {
        if (std::wstring(codecs[i].MimeType) == L"image/jpeg") {
            clsid = codecs[i].Clsid;
            return true;
        }
    }
    return false;
}

// GDI+ started for the lifetime of the scope; every GDI+ object must end before it.
class GdiplusScope {
public:
    GdiplusScope() {
        Gdiplus::GdiplusStartupInput input;
        started_ = Gdiplus::GdiplusStartup(&token_, &input, nullptr) == Gdiplus::Ok;
    }
    ~GdiplusScope() {
        if (started_) Gdiplus::GdiplusShutdown(token_);
    }
    GdiplusScope(const GdiplusScope&) = delete;
    GdiplusScope& operator=(const GdiplusScope&) = delete;
    bool started() const { return started_; }

private:
    ULONG_PTR token_ = 0;
    bool started_ = false;
};

bool SaveJpeg(HBITMAP bitmap, const std::wstring& path, int quality) {
    Gdiplus::Bitmap image(bitmap, nullptr);
    CLSID jpeg;
    if (!FindJpegEncoder(jpeg)) return false;
    Gdiplus::EncoderParameters params{};
    ULONG q = static_cast<ULONG>(quality < 0 ? 0 : (quality > 100 ? 100 : quality));
    params.Count = 1;
    params.Parameter[0].Guid = Gdiplus::EncoderQuality;
    params.Parameter[0].Type = Gdiplus::EncoderParameterValueTypeLong;
    params.Parameter[0].NumberOfValues = 1;
    params.Parameter[0].Value = &q;
    return image.Save(path.c_str(), &jpeg, &params) == Gdiplus::Ok;
}

// Captures the virtual screen into a JPEG file of the given quality.
bool WriteScreenshot(const std::wstring& path, int quality) {
    const GdiplusScope gdiplus;
    if (!gdiplus.started()) return false;
    const int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int w = GetSystemMetrics(SM_CXVIRTUALSCREEN), h = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    const win32::unique_screen_dc screen(GetDC(nullptr));
    if (!screen || w <= 0 || h <= 0) return false;
    const win32::unique_memory_dc memory(CreateCompatibleDC(screen.get()));
    const win32::unique_hbitmap bitmap(CreateCompatibleBitmap(screen.get(), w, h));
    if (!memory || !bitmap) return false;
    {
        const win32::select_object_guard selected(memory.get(), bitmap.get());
        BitBlt(memory.get(), 0, 0, w, h, screen.get(), x, y, SRCCOPY);
    }
    return SaveJpeg(bitmap.get(), path, quality);
}

std::wstring ModuleOf(uint64_t address, uint64_t& offset) {
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCWSTR>(static_cast<uintptr_t>(address)), &module)) {
        return {};
    }
    wchar_t name[MAX_PATH] = {};
    GetModuleFileNameW(module, name, MAX_PATH);
    offset = address - reinterpret_cast<uintptr_t>(module);
    std::wstring path(name);
    const size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

struct CrashJob {
    EXCEPTION_POINTERS* exception;
    DWORD threadId;
    ReporterState state;
};

// Runs on its own thread: the crashed thread's stack may be exhausted.
DWORD WINAPI WriteReport(void* parameter) {
    auto* job = static_cast<CrashJob*>(parameter);
    SYSTEMTIME now{};
    GetLocalTime(&now);
    const std::wstring folder = job->state.saveFolder + L"\\" +
                                ReportFolderName(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute,
                                                 now.wSecond, GetCurrentProcessId());
    files::MakeFolder(folder);

    CrashFacts facts;
    facts.appName = job->state.appName;
    facts.appVersion = job->state.appVersion;
    facts.emailTo = job->state.emailTo;
    facts.emailSubject = job->state.emailSubject;
    wchar_t time[32];
    swprintf(time, 32, L"%04d-%02d-%02d %02d:%02d:%02d", now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute,
             now.wSecond);
    facts.time = time;
    facts.processId = GetCurrentProcessId();
    facts.threadId = job->threadId;
    if (job->exception && job->exception->ExceptionRecord) {
        facts.exceptionCode = job->exception->ExceptionRecord->ExceptionCode;
        facts.exceptionAddress = reinterpret_cast<uintptr_t>(job->exception->ExceptionRecord->ExceptionAddress);
        facts.moduleName = ModuleOf(facts.exceptionAddress, facts.moduleOffset);
    }
    if (!(job->state.flags & kFlagNoMinidump)) {
        facts.minidumpWritten = WriteMinidump(folder + L"\\crash.dmp", job->exception, job->threadId);
    }
    if (job->state.screenshotFlags != 0) {
        facts.screenshotWritten = WriteScreenshot(folder + L"\\screenshot.jpg", job->state.screenshotQuality);
    }
    WriteUtf8File(folder + L"\\crash.txt", FormatCrashReport(facts));
    return 0;
}

LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS* exception) {
    CrashJob job{exception, GetCurrentThreadId(), {}};
    {
        std::lock_guard<std::mutex> lock(g_lock);
        if (!g_state.installed) return EXCEPTION_CONTINUE_SEARCH;
        job.state = g_state;
    }
    win32::unique_handle writer(CreateThread(nullptr, 256 * 1024, WriteReport, &job, 0, nullptr));
    if (writer) {
        // Bounded: a hung dump must not keep a crashed program on screen forever.
        WaitForSingleObject(writer.get(), 60 * 1000);
    } else {
        WriteReport(&job);
    }
    return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace
}  // namespace crashreport

using namespace crashreport;

extern "C" {

int __cdecl CrashReportInstall(const InstallInfo* info) {
    try {
        std::lock_guard<std::mutex> lock(g_lock);
        if (!info) {
            SetLastErrorText(L"Invalid parameter: the install record is missing.");
            return 1;
        }
        if (info->size != sizeof(InstallInfo)) {
            SetLastErrorText(L"Invalid parameter: the install record has the wrong size.");
            return 1;
        }
        if (g_state.installed) {
            SetLastErrorText(L"The crash reporter is already installed.");
            return 1;
        }
        const std::wstring saveFolder = Utf16OrEmpty(info->saveFolder);
        const DWORD attributes = GetFileAttributesW(saveFolder.c_str());
        if (saveFolder.empty() || attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            SetLastErrorText(L"The error report folder does not exist: " + saveFolder);
            return 1;
        }
        g_state.appName = Utf16OrEmpty(info->appName);
        g_state.appVersion = Utf16OrEmpty(info->appVersion);
        g_state.emailTo = Utf16OrEmpty(info->emailTo);
        g_state.emailSubject = Utf16OrEmpty(info->emailSubject);
        g_state.saveFolder = saveFolder;
        g_state.flags = info->flags;
        g_state.previousFilter = SetUnhandledExceptionFilter(OnUnhandledException);
        g_state.installed = true;
        SetLastErrorText(L"Success.");
        return 0;
    } catch (...) {
        return 1;
    }
}

int __cdecl CrashReportUninstall() {
    std::lock_guard<std::mutex> lock(g_lock);
    if (!g_state.installed) {
        SetLastErrorText(L"The crash reporter is not installed.");
        return 1;
    }
    SetUnhandledExceptionFilter(g_state.previousFilter);
    g_state.installed = false;
    g_state.screenshotFlags = 0;
    SetLastErrorText(L"Success.");
    return 0;
}

int __cdecl CrashReportLastErrorMessage(wchar_t* buffer, UINT capacity) {
    if (!buffer || capacity == 0) return 0;
    std::lock_guard<std::mutex> lock(g_lock);
    const size_t count = g_state.lastError.size() < capacity - 1 ? g_state.lastError.size() : capacity - 1;
    g_state.lastError.copy(buffer, count);
    buffer[count] = L'\0';
    return static_cast<int>(count);
}

int __cdecl CrashReportAddScreenshot(DWORD flags, int quality) {
    std::lock_guard<std::mutex> lock(g_lock);
    if (!g_state.installed) {
        SetLastErrorText(L"The crash reporter is not installed.");
        return 1;
    }
    if (quality < 0 || quality > 100) {
        SetLastErrorText(L"Invalid parameter: the screenshot quality must lie between 0 and 100.");
        return 1;
    }
    g_state.screenshotFlags = flags;
    g_state.screenshotQuality = quality;
    SetLastErrorText(L"Success.");
    return 0;
}

}  // extern "C"
