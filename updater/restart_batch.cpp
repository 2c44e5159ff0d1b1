#include "updater/restart_batch.h"

#include <windows.h>

#include "common/text/code_page.h"
#include "common/win32/unique_handle.h"
#include "updater/update_paths.h"

namespace {

// A path in quotation marks. Quotes do not stop the command interpreter from
// expanding %...% in a batch file, so a '%' in a folder name is written doubled.
std::string Quoted(const std::string& text) {
    std::string quoted = "\"";
    for (char c : text) {
        quoted += c;
        if (c == '%') quoted += '%';
    }
    return quoted + "\"";
}

// Wide → ANSI; `lossless` tells whether every character had a mapping.
std::string ToAnsi(const std::wstring& text, bool& lossless) {
    text::NarrowText ansi = text::NarrowFromWide(text, text::kAnsiCodePage, text::Unmappable::NoBestFit);
    lossless = ansi.lossless;
    return std::move(ansi.bytes);
}

}  // namespace

std::string RestartBatchText(const std::string& updaterPath, const std::string& launcherPath,
                             const std::string& batchPath, bool pendingUpdater) {
    std::string text = ":try\r\nchoice /t 1 /d y >nul\r\n";
    if (pendingUpdater) {
        text += "del " + Quoted(updaterPath) + "\r\n";
        text += "if exist " + Quoted(updaterPath) + " goto :try\r\n";
        // The source is named by its full path: the batch may run in another current
        // directory, and a bare name would then leave the folder without any updater.
        text += "rename " + Quoted(updaterPath + ".tmp") + " Updater.exe\r\n";
    }
    text += "start \"\" " + Quoted(launcherPath) + "\r\n";
    text += "del " + Quoted(batchPath) + "\r\n";
    return text;
}

std::string BatchPathText(const std::wstring& path) {
    bool lossless = true;
    std::string ansi = ToAnsi(path, lossless);
    if (lossless) return ansi;
    // The short (8.3) form is plain ASCII where the volume keeps one.
    wchar_t shortPath[MAX_PATH] = {};
    const DWORD n = GetShortPathNameW(path.c_str(), shortPath, MAX_PATH);
    if (n > 0 && n < MAX_PATH) {
        bool shortLossless = true;
        std::string shortAnsi = ToAnsi(shortPath, shortLossless);
        if (shortLossless) return shortAnsi;
    }
    return ansi;
}

bool WriteRestartBatch(const std::wstring& folder) {
    const std::wstring root = NormaliseFolder(folder);
    // The folder exists, so its short form can be asked for; the file names are ASCII.
    std::string rootText = BatchPathText(root);
    if (!rootText.empty() && rootText.back() != '\\') rootText += '\\';
    const bool pending = GetFileAttributesW((root + L"Updater.exe.tmp").c_str()) != INVALID_FILE_ATTRIBUTES;
    const std::string text =
        RestartBatchText(rootText + "Updater.exe", rootText + "Velmora.exe", rootText + "delete.bat", pending);

    const std::wstring batch = root + L"delete.bat";
    win32::unique_file file(CreateFileW(batch.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD written = 0;
    WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    return true;
}
