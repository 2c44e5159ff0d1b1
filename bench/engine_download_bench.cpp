// The update engine's per-file work over a list of files, in sequence, into an empty
// folder: request, body, digest check and replacement. "serial" runs
// DownloadUpdateFile per file; "overlap" checks and installs each file on a second
// thread while the next one is fetched; "pass" runs the update pass itself
// (DownloadUpdateFiles with the real engine: range probe, several transfers in
// flight, each file checked beside the next fetch, the restart batch) with a view
// that shows nothing. Afterwards the digest of every installed file is taken once
// more on its own, to show its share.
//   engine_download_bench serial|overlap|pass <base url> <list file: "name<TAB>md5" lines> <folder>
#include <future>
#include <optional>

#include "bench/bench_support.h"
#include "updater/driver/download_pass.h"
#include "updater/file_digest.h"
#include "updater/file_download.h"
#include "common/fs/file_size.h"

namespace {

UpdateList ReadList(const char* path) {
    UpdateList list;
    for (const std::wstring& line : bench::ReadLines(path)) {
        const size_t tab = line.find(L'\t');
        if (tab == std::wstring::npos) continue;
        std::wstring name = line.substr(0, tab);  // manifest names use backslashes
        for (wchar_t& c : name)
            if (c == L'/') c = L'\\';
        list.push_back({name, line.substr(tab + 1)});
    }
    return list;
}

bool Installed(const FileDownloadOutcome& outcome) { return outcome.status == FileDownloadStatus::Replaced; }

// A dialog that shows nothing and reads every row as fine; only the pass's own work
// is timed.
class NoView final : public IUpdateView {
public:
    bool Closed() const override { return false; }
    void SetStatus(const std::wstring&) override {}
    void ShowStatus() override {}
    void EnableUpdateButton(bool) override {}
    void SetUpdateButtonText(const std::wstring&) override {}
    void EnableExitButton(bool) override {}
    void MarkDone() override {}
    void ShowProgressBar() override {}
    void SetProgressRange(std::uint32_t) override {}
    void SetProgress(std::uint32_t) override {}
    void SetCurrentFile(const std::wstring&) override {}
    void SetSpeed(const std::wstring&) override {}
    void SetCount(const std::wstring&) override {}
    void ClearRows() override {}
    void InsertRow(int, const std::wstring&, const std::wstring&) override {}
    void SetRowStatus(int, const std::wstring&) override {}
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: engine_download_bench serial|overlap|pass <base url> <list file> <folder>\n");
        return 2;
    }
    const std::string mode = argv[1];
    const bool overlap = mode == "overlap";
    const std::wstring base = bench::Widen(argv[2]);
    const UpdateList list = ReadList(argv[3]);
    const std::wstring folder = bench::Widen(argv[4]);

    UpdaterContext context;
    const auto start = std::chrono::steady_clock::now();
    long long bytes = 0;
    bool ok = true;
    std::optional<std::future<FileDownloadOutcome>> checking;
    if (mode == "pass") {
        CMyFunEngine engine(context);
        NoView view;
        ok = DownloadUpdateFiles(engine, view, base, folder, list).Succeeded();
        for (const UpdateItem& item : list) bytes += files::ExistingFileSize(folder + L"\\" + item.name);
    }
    // The per-file modes walk the list itself: the checks still running after the loop
    // refer to its items.
    const UpdateList none;
    for (const UpdateItem& item : mode == "pass" ? none : list) {
        if (!overlap) {
            const FileDownloadOutcome outcome = DownloadUpdateFile(context, base, folder, item, false, nullptr);
            ok = ok && Installed(outcome);
            bytes += outcome.received;
            continue;
        }
        const FileDownloadOutcome fetched = FetchUpdateFile(context, base, folder, item, false, nullptr);
        if (checking) ok = ok && Installed(checking->get());
        bytes += fetched.received;
        checking = std::async(std::launch::async, [&context, &folder, &item, fetched] {
            return InstallFetchedFile(context, folder, item, fetched);
        });
    }
    if (checking) ok = ok && Installed(checking->get());
    const double seconds = bench::SecondsSince(start);
    if (!ok) {
        std::fprintf(stderr, "some files were not installed\n");
        return 1;
    }

    const auto hashStart = std::chrono::steady_clock::now();
    for (const UpdateItem& item : list) {
        std::string hex;
        FileMd5Hex(context.digests, folder + L"\\" + item.name, hex);
    }
    const double hashSeconds = bench::SecondsSince(hashStart);
    std::printf("engine_download_bench mode=%s files=%zu bytes=%lld seconds=%.3f MBps=%.1f digest_time=%.3f "
                "peak_private_MiB=%.1f\n",
                mode.c_str(), list.size(), bytes, seconds, bytes / seconds / 1e6, hashSeconds,
                bench::PeakPrivateMiB());
    return 0;
}
