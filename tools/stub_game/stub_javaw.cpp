// A stand-in for the game's javaw.exe. Tests install it as
// <game>\game\jre\win32\x86\bin\javaw.exe; when started it records its full command
// line and its working folder and exits at once.
//
// The record is "javaw-record.txt" beside the executable, UTF-8, two lines:
// the command line, LF, the working folder, LF. It is written to a temporary name and
// then renamed, so a reader never sees half a record.
#include <windows.h>

#include <string>

#include "common/text/code_page.h"
#include "common/win32/unique_handle.h"

namespace {

std::string Utf8(const std::wstring& text) { return text::WideToCodePage(text, text::kUtf8CodePage); }

std::wstring OwnFolder() {
    wchar_t buffer[32768] = {};
    const DWORD length = GetModuleFileNameW(nullptr, buffer, 32768);
    std::wstring path(buffer, length);
    const size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

std::wstring WorkingFolder() {
    wchar_t buffer[32768] = {};
    const DWORD length = GetCurrentDirectoryW(32768, buffer);
    return std::wstring(buffer, length < 32768 ? length : 0);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const std::string record = Utf8(GetCommandLineW()) + "\n" + Utf8(WorkingFolder()) + "\n";
    const std::wstring folder = OwnFolder();
    const std::wstring temporary = folder + L"\\javaw-record.tmp";
    const std::wstring final = folder + L"\\javaw-record.txt";

    {
        win32::unique_file file(
            CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return 2;
        DWORD written = 0;
        if (!WriteFile(file.get(), record.data(), static_cast<DWORD>(record.size()), &written, nullptr) ||
            written != record.size()) {
            return 3;
        }
    }
    return MoveFileExW(temporary.c_str(), final.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 4;
}
