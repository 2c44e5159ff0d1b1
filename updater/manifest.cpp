#include "updater/manifest.h"

#include <windows.h>

#include <share.h>

#include <memory>
#include <vector>

#include "common/text/code_page.h"
#include "common/win32/unique_handle.h"
#include "updater/digest_batch.h"
#include "updater/update_paths.h"

namespace {

std::string ToAnsi(const std::wstring& text) { return text::WideToCodePage(text, text::kAnsiCodePage); }

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

bool BuildLocalManifest(DigestProvider& provider, const std::wstring& folder) {
    const std::wstring root = NormaliseFolder(folder);
    const std::wstring path = root + L"LocalDate.ini";
    // Binary, so every record ends in a bare LF; others may read and write meanwhile.
    std::unique_ptr<std::FILE, FileCloser> stream(_wfsopen(path.c_str(), L"wb", _SH_DENYNO));
    if (!stream) return false;
    AppendManifestEntries(provider, root, stream.get(), root);
    return true;
}

namespace {

// Collects the files below `folder` in the order the file system lists them.
void CollectFiles(const std::wstring& folder, std::vector<std::wstring>& files,
                  std::vector<unsigned long long>& sizes) {
    const std::wstring base = NormaliseFolder(folder);
    WIN32_FIND_DATAW entry{};
    win32::unique_find find(FindFirstFileW((base + L"*.*").c_str(), &entry));
    if (!find) return;
    do {
        const std::wstring name = entry.cFileName;
        const std::wstring full = base + name;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (name == L"." || name == L"..") continue;
            // A junction or symbolic link can point back up the tree; following it
            // would never end. Its files are listed where they really live.
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) continue;
            CollectFiles(full, files, sizes);
            continue;
        }
        files.push_back(full);
        sizes.push_back((static_cast<unsigned long long>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow);
    } while (FindNextFileW(find.get(), &entry));
}

}  // namespace

void AppendManifestEntries(DigestProvider& provider, const std::wstring& folder, std::FILE* stream,
                           const std::wstring& root) {
    std::vector<std::wstring> files;
    std::vector<unsigned long long> sizes;
    CollectFiles(folder, files, sizes);
    const std::vector<std::string> digests = DigestRecords(provider, files, sizes);
    for (size_t i = 0; i < files.size(); ++i) {
        const std::wstring relative = files[i].size() >= root.size() ? files[i].substr(root.size()) : files[i];
        const std::string record = ToAnsi(relative) + "\t" + digests[i];
        std::fwrite(record.data(), 1, record.size(), stream);
    }
}

void RemoveManifests(const std::wstring& folder) {
    const std::wstring root = NormaliseFolder(folder);
    for (const wchar_t* name : {L"LocalDate.ini", L"UpDate.ini"}) {
        const std::wstring path = root + name;
        if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) DeleteFileW(path.c_str());
    }
}
