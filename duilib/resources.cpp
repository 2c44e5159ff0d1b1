#include "duilib/resources.h"

#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <memory>
#include <mutex>

#include "common/fs/whole_file.h"
#include "common/text/code_page.h"
#include "common/win32/unique_handle.h"
#include "duilib/zip_archive.h"

namespace duires {
namespace {

struct Config {
    HINSTANCE instance = nullptr;
    std::wstring resourcePath;
    std::wstring zipName;
    bool cached = false;
    std::unique_ptr<duizip::ZipArchive> cachedArchive;
    int sessions = 0;  // live ArchiveSession objects
};

Config& State() {
    static Config config;
    return config;
}

std::string Narrow(const std::wstring& text, UINT codePage) { return text::WideToCodePage(text, codePage); }

bool IsAbsolute(const std::wstring& path) {
    return (path.size() > 1 && path[1] == L':') || (!path.empty() && (path[0] == L'\\' || path[0] == L'/'));
}

// Layout files and the skin archive; far larger is no skin of ours.
constexpr std::uint64_t kResourceFileLimit = 256ull << 20;

bool ReadWholeFile(const std::wstring& path, std::string& bytes) {
    return files::ReadWholeFile(path, bytes, kResourceFileLimit) == files::ReadResult::Read;
}

std::wstring FileStamp(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return path + L"|absent";
    wchar_t stamp[80];
    swprintf(stamp, 80, L"|%lu.%lu|%lu.%lu", data.nFileSizeHigh, data.nFileSizeLow, data.ftLastWriteTime.dwHighDateTime,
             data.ftLastWriteTime.dwLowDateTime);
    return path + stamp;
}

const wchar_t* Describe(duizip::ZipResult r) {
    switch (r) {
        case duizip::ZipResult::NotFound: return L"not in the archive";
        case duizip::ZipResult::Unsupported: return L"stored with an unsupported method";
        case duizip::ZipResult::TooLarge: return L"too large";
        default: return L"damaged";
    }
}

}  // namespace

void SetInstance(HINSTANCE instance) { State().instance = instance; }
HINSTANCE GetInstance() { return State().instance; }

std::wstring GetInstancePath() {
    wchar_t path[MAX_PATH] = {};
    DWORD n = GetModuleFileNameW(State().instance, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return {};
    std::wstring text(path, n);
    std::size_t slash = text.find_last_of(L'\\');
    return slash == std::wstring::npos ? std::wstring() : text.substr(0, slash + 1);
}

void SetResourcePath(const std::wstring& folder) {
    std::wstring path = IsAbsolute(folder) ? folder : GetInstancePath() + folder;
    if (!path.empty() && path.back() != L'\\' && path.back() != L'/') path += L'\\';
    State().resourcePath = path;
    State().cachedArchive.reset();
}

std::wstring GetResourcePath() { return State().resourcePath; }

void SetResourceZip(const std::wstring& archiveName, bool cached) {
    State().zipName = archiveName;
    State().cached = cached;
    State().cachedArchive.reset();
}

std::wstring GetResourceZip() { return State().zipName; }

bool LoadResource(const std::wstring& name, std::string& bytes, std::wstring& error) {
    bytes.clear();
    Config& config = State();
    if (config.zipName.empty()) {
        std::wstring path = IsAbsolute(name) ? name : config.resourcePath + name;
        if (ReadWholeFile(path, bytes)) return true;
        error = L"cannot read \"" + path + L"\"";
        return false;
    }
    std::wstring archivePath = IsAbsolute(config.zipName) ? config.zipName : config.resourcePath + config.zipName;
    duizip::ZipArchive local;
    const duizip::ZipArchive* archive = config.cachedArchive.get();
    if (!archive) {
        std::string raw;
        if (!ReadWholeFile(archivePath, raw)) {
            error = L"cannot read the archive \"" + archivePath + L"\"";
            return false;
        }
        if (!local.Open(std::move(raw))) {
            error = L"\"" + archivePath + L"\" is not a zip archive";
            return false;
        }
        if (config.cached || config.sessions > 0) {
            config.cachedArchive = std::make_unique<duizip::ZipArchive>(std::move(local));
            archive = config.cachedArchive.get();
        } else {
            archive = &local;
        }
    }
    std::wstring member = name;
    for (auto& c : member)
        if (c == L'\\') c = L'/';
    int index = archive->Find(Narrow(member, CP_UTF8), Narrow(member, CP_ACP));
    duizip::ZipResult result = index < 0 ? duizip::ZipResult::NotFound : archive->Extract(index, bytes);
    if (result == duizip::ZipResult::Ok) return true;
    error = L"\"" + name + L"\" " + Describe(result) + L" (" + archivePath + L")";
    return false;
}

std::wstring ResourceIdentity(const std::wstring& name) {
    const Config& config = State();
    if (config.zipName.empty()) return FileStamp(IsAbsolute(name) ? name : config.resourcePath + name);
    std::wstring archivePath = IsAbsolute(config.zipName) ? config.zipName : config.resourcePath + config.zipName;
    std::wstring member = name;
    for (auto& c : member)
        if (c == L'\\') c = L'/';
    return FileStamp(archivePath) + L"|" + member;
}

ArchiveSession::ArchiveSession() { ++State().sessions; }

ArchiveSession::~ArchiveSession() {
    Config& config = State();
    if (--config.sessions == 0 && !config.cached) config.cachedArchive.reset();
}

}  // namespace duires
