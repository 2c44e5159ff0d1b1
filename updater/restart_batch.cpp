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

// The longest name the batch appends to its folder: "\\Updater.exe.tmp".
constexpr size_t kLongestBatchName = 16;

// Wide → ANSI; `lossless` tells whether every character had a mapping.
std::string ToAnsi(const std::wstring& text, bool& lossless) {
    text::NarrowText ansi = text::NarrowFromWide(text, text::kAnsiCodePage, text::Unmappable::NoBestFit);
    lossless = ansi.lossless;
    return std::move(ansi.bytes);
}

}  // namespace

std::wstring ShortPath(const std::wstring& path) {
    // The first call tells the size needed (with the terminator); the path may be
    // longer than MAX_PATH, and a name may change in between, hence the retry.
    std::wstring shortPath(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 3; ++attempt) {
        const DWORD n = GetShortPathNameW(path.c_str(), shortPath.data(), static_cast<DWORD>(shortPath.size()));
        if (n == 0) return {};
        if (n < shortPath.size()) {
            shortPath.resize(n);
            return shortPath;
        }
        shortPath.assign(n, L'\0');
    }
    return {};
}

std::string RestartBatchText(const std::string& updaterPath, const std::string& launcherPath,
                             const std::string& batchPath, bool pendingUpdater) {
    std::string text;
    if (pendingUpdater) {
        const std::string pending = Quoted(updaterPath + ".tmp");
        const std::string updater = Quoted(updaterPath);
        // The old updater can be deleted once its process has ended; another copy that
        // keeps running must not hold the launcher back for ever, so the deletion is
        // tried kRestartDeleteTries times, about a second apart, and then given up:
        // the launcher starts anyway and the verified file waits for a later run.
        text += "setlocal\r\n";
        text += "set velmora_tries=0\r\n";
        text += ":try\r\n";
        text += "choice /t 1 /d y >nul\r\n";
        // Never delete the old updater unless its replacement is there.
        text += "if not exist " + pending + " goto :launch\r\n";
        text += "del " + updater + "\r\n";
        text += "if not exist " + updater + " goto :swap\r\n";
        text += "set /a velmora_tries+=1\r\n";
        text += "if %velmora_tries% lss " + std::to_string(kRestartDeleteTries) + " goto :try\r\n";
        text += "goto :launch\r\n";
        text += ":swap\r\n";
        // The source is named by its full path: the batch may run in another current
        // directory, and a bare name would then leave the folder without any updater.
        text += "rename " + pending + " Updater.exe\r\n";
        text += ":launch\r\n";
    } else {
        text += ":try\r\nchoice /t 1 /d y >nul\r\n";
    }
    // The batch itself runs at idle priority; without /NORMAL the launcher, and the
    // game it starts, would inherit it.
    text += "start \"\" /NORMAL " + Quoted(launcherPath) + "\r\n";
    text += "del " + Quoted(batchPath) + "\r\n";
    return text;
}

std::string BatchPathText(const std::wstring& path) {
    const std::wstring plain = PlainPath(path);
    bool lossless = true;
    std::string ansi = ToAnsi(plain, lossless);
    // The interpreter's own commands take paths of at most MAX_PATH characters, and
    // the batch appends file names of up to kLongestBatchName characters.
    if (lossless && plain.size() + kLongestBatchName < MAX_PATH) return ansi;
    // The short (8.3) form is plain ASCII where the volume keeps one.
    bool shortLossless = true;
    std::string shortAnsi = ToAnsi(PlainPath(ShortPath(ExtendedLengthPath(plain))), shortLossless);
    if (!shortAnsi.empty() && shortLossless) return shortAnsi;
    return ansi;
}

namespace {

// Writes the batch for `root` (normalised): the variant that swaps in the pending
// updater only when `pending`.
bool WriteBatchFile(const std::wstring& root, bool pending) {
    // The folder exists, so its short form can be asked for; the file names are ASCII.
    std::string rootText = BatchPathText(root);
    if (!rootText.empty() && rootText.back() != '\\') rootText += '\\';
    const std::string text =
        RestartBatchText(rootText + "Updater.exe", rootText + "Velmora.exe", rootText + "delete.bat", pending);

    const std::wstring batch = root + L"delete.bat";
    win32::unique_file file(CreateFileW(batch.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD written = 0;
    return WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
           written == text.size();
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

bool WriteRestartBatch(const std::wstring& folder) {
    const std::wstring root = NormaliseFolder(folder);
    return WriteBatchFile(root, Exists(root + L"Updater.exe.tmp"));
}

bool RetireRestartBatch(const std::wstring& folder, bool updaterListed) {
    const std::wstring root = NormaliseFolder(folder);
    const std::wstring pending = root + L"Updater.exe.tmp";
    // The local updater already matches the server: a pending one is out of date,
    // and a later batch must not find it.
    if (!updaterListed && Exists(pending)) DeleteFileW(pending.c_str());
    const std::wstring batch = root + L"delete.bat";
    if (!Exists(batch)) return true;
    // An earlier pass promised to restart the launcher; that promise is kept.
    if (WriteBatchFile(root, false)) return true;
    return DeleteFileW(batch.c_str()) != FALSE || !Exists(batch);
}
