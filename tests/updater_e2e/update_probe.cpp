// Drives a running Updater.exe from outside, the way a player would, and reports what
// the dialog shows. Steps are given on the command line and run in order:
//   find <ms>                 wait for the dialog "[Velmora]更新程序v1.0.1" to be shown
//   click <id>                press a button (BM_CLICK)
//   wait <id> <text> <ms>     wait until the control's text equals <text> (or its
//                             form with CR and LF written as \r and \n); prints
//                             how long that took (waited_ms)
//   dump                      print the labels, buttons, progress and list rows
//   close                     close the dialog's window (WM_CLOSE)
//   exit <ms>                 wait for the updater process to end
//   sleep <ms>
//   minimize                  minimise the dialog (SC_MINIMIZE)
//   dialogs <n> <ms>          wait until exactly <n> update dialogs are shown
//   closeall                  close every update dialog (WM_CLOSE)
//   nocrash                   fail when a crash dialog (winedbg) is shown
// Output is UTF-8, one "key<TAB>value" line per fact. The exit code is 0 when every
// step succeeded; a step that fails prints "fail<TAB>..." and stops the run. Every
// wait is bounded by its time-out.
#include <windows.h>
#include <commctrl.h>

#include <tlhelp32.h>

#include <cwchar>
#include <string>
#include <vector>

#include "common/text/code_page.h"
#include "common/win32/unique_handle.h"

namespace {

const wchar_t kCaption[] = L"[Velmora]更新程序v1.0.1";
const UINT kMessageTimeout = 5000;
// A round trip at least this long is listed with the time it started.
const DWORD kSlowTripMs = 20;

void Print(const std::wstring& key, const std::wstring& value) {
    const std::wstring line = key + L"\t" + value + L"\n";
    const std::string utf8 = text::WideToCodePage(line, text::kUtf8CodePage);
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

// Escapes CR and LF so that each fact stays on one line.
std::wstring Visible(const std::wstring& text) {
    std::wstring out;
    for (wchar_t c : text) {
        if (c == L'\r') out += L"\\r";
        else if (c == L'\n') out += L"\\n";
        else out += c;
    }
    return out;
}

bool IsUpdateDialog(HWND window) {
    wchar_t caption[64] = {};
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    GetWindowTextW(window, caption, 64);
    return std::wcscmp(className, L"#32770") == 0 && std::wcscmp(caption, kCaption) == 0;
}

BOOL CALLBACK CountDialog(HWND window, LPARAM counter) {
    if (IsWindowVisible(window) && IsUpdateDialog(window)) ++*reinterpret_cast<unsigned*>(counter);
    return TRUE;
}

BOOL CALLBACK CloseDialog(HWND window, LPARAM) {
    if (IsUpdateDialog(window)) PostMessageW(window, WM_CLOSE, 0, 0);
    return TRUE;
}

class Probe {
public:
    bool Find(DWORD timeout) {
        const DWORD start = GetTickCount();
        do {
            // The dialog turns visible only after its set-up has run, so its controls
            // exist and its modal loop serves messages from then on.
            dialog_ = FindWindowW(L"#32770", kCaption);
            if (dialog_ && IsWindowVisible(dialog_)) {
                GetWindowThreadProcessId(dialog_, &processId_);
                process_.reset(OpenProcess(SYNCHRONIZE | PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE,
                                           FALSE, processId_));
                return true;
            }
            Sleep(50);
        } while (GetTickCount() - start < timeout);
        return false;
    }

    bool Click(int id) {
        DWORD_PTR result = 0;
        clicked_ = GetTickCount();
        return SendMessageTimeoutW(GetDlgItem(dialog_, id), BM_CLICK, 0, 0, SMTO_NORMAL, kMessageTimeout, &result) != 0;
    }

    bool Text(int id, std::wstring& text) {
        HWND control = GetDlgItem(dialog_, id);
        if (!control) return false;
        wchar_t buffer[1024] = {};
        DWORD_PTR copied = 0;
        const DWORD start = GetTickCount();
        const bool ok = SendMessageTimeoutW(control, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer), SMTO_NORMAL,
                                            kMessageTimeout, &copied) != 0;
        const DWORD took = GetTickCount() - start;
        if (took > slowest_) slowest_ = took;
        if (took >= kSlowTripMs && clicked_ != 0 && slowTrips_.size() < 200)
            slowTrips_ += std::to_wstring(start - clicked_) + L"+" + std::to_wstring(took) + L" ";
        ++roundTrips_;
        text = buffer;
        return ok;
    }

    bool Wait(int id, const std::wstring& expected, DWORD timeout) {
        const DWORD start = GetTickCount();
        std::wstring text;
        do {
            if (Text(id, text) && (text == expected || Visible(text) == expected)) {
                Print(L"waited_ms", std::to_wstring(GetTickCount() - start));
                return true;
            }
            Sleep(20);
        } while (GetTickCount() - start < timeout);
        Print(L"last", Visible(text));
        return false;
    }

    void Dump() {
        const struct { int id; const wchar_t* name; } labels[] = {
            {1004, L"status"}, {1001, L"update"}, {1002, L"exit"}, {1020, L"count"}, {1021, L"speed"}, {1022, L"current"},
            {1017, L"log"}};
        for (const auto& label : labels) {
            std::wstring text;
            Text(label.id, text);
            Print(label.name, Visible(text));
        }
        Print(L"update_enabled", IsWindowEnabled(GetDlgItem(dialog_, 1001)) ? L"1" : L"0");
        Print(L"exit_enabled", IsWindowEnabled(GetDlgItem(dialog_, 1002)) ? L"1" : L"0");
        Print(L"status_visible", IsWindowVisible(GetDlgItem(dialog_, 1004)) ? L"1" : L"0");
        Print(L"iconic", IsIconic(dialog_) ? L"1" : L"0");
        Print(L"progress", std::to_wstring(SendMessageW(GetDlgItem(dialog_, 1003), PBM_GETPOS, 0, 0)));
        DumpRows();
        Print(L"getText_round_trips", std::to_wstring(roundTrips_));
        Print(L"getText_slowest_ms", std::to_wstring(slowest_));
        Print(L"getText_slow_trips", slowTrips_);
    }

    bool Close() { return PostMessageW(dialog_, WM_CLOSE, 0, 0) != 0; }

    bool Minimize() {
        if (!PostMessageW(dialog_, WM_SYSCOMMAND, SC_MINIMIZE, 0)) return false;
        for (int i = 0; i < 100 && !IsIconic(dialog_); ++i) Sleep(50);
        return IsIconic(dialog_) != FALSE;
    }

    // Every shown update dialog, of any process.
    static unsigned CountDialogs() {
        unsigned count = 0;
        EnumWindows(CountDialog, reinterpret_cast<LPARAM>(&count));
        return count;
    }

    static bool CloseAll() {
        EnumWindows(CloseDialog, 0);
        return true;
    }

    bool Dialogs(unsigned expected, DWORD timeout) {
        const DWORD start = GetTickCount();
        unsigned count = 0;
        do {
            count = CountDialogs();
            if (count == expected) break;
            Sleep(50);
        } while (GetTickCount() - start < timeout);
        Print(L"dialogs", std::to_wstring(count));
        return count == expected;
    }

    // Wine shows a crash as a window of winedbg.exe.
    static bool NoCrashDialog() {
        win32::unique_file snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
        if (!snapshot) return false;
        PROCESSENTRY32W entry = {};
        entry.dwSize = sizeof(entry);
        std::vector<DWORD> debuggers;
        for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry))
            if (_wcsicmp(entry.szExeFile, L"winedbg.exe") == 0) debuggers.push_back(entry.th32ProcessID);
        Print(L"debuggers", std::to_wstring(debuggers.size()));
        return debuggers.empty();
    }

    bool Exit(DWORD timeout) { return process_ && WaitForSingleObject(process_.get(), timeout) == WAIT_OBJECT_0; }

private:
    // List view texts live in the updater's memory: the item and its text buffer are
    // placed there, filled by the list, and read back.
    void DumpRows() {
        HWND list = GetDlgItem(dialog_, 1023);
        const LRESULT rows = SendMessageW(list, LVM_GETITEMCOUNT, 0, 0);
        Print(L"rows", std::to_wstring(rows));
        const SIZE_T textUnits = 512;
        const SIZE_T size = sizeof(LVITEMW) + textUnits * sizeof(wchar_t);
        void* remote = VirtualAllocEx(process_.get(), nullptr, size, MEM_COMMIT, PAGE_READWRITE);
        if (!remote) {
            Print(L"fail", L"cannot reach the list's memory");
            return;
        }
        auto* remoteText = reinterpret_cast<wchar_t*>(static_cast<char*>(remote) + sizeof(LVITEMW));
        for (LRESULT row = 0; row < rows; ++row) {
            std::wstring cells[2];
            for (int column = 0; column < 2; ++column) {
                LVITEMW item = {};
                item.iSubItem = column;
                item.pszText = remoteText;
                item.cchTextMax = static_cast<int>(textUnits);
                SIZE_T done = 0;
                WriteProcessMemory(process_.get(), remote, &item, sizeof(item), &done);
                SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(remote));
                std::vector<wchar_t> text(textUnits + 1, L'\0');
                ReadProcessMemory(process_.get(), remoteText, text.data(), textUnits * sizeof(wchar_t), &done);
                cells[column] = text.data();
            }
            Print(L"row", Visible(cells[0]) + L"\t" + Visible(cells[1]));
        }
        VirtualFreeEx(process_.get(), remote, 0, MEM_RELEASE);
    }

    HWND dialog_ = nullptr;
    DWORD processId_ = 0;
    win32::unique_handle process_;
    DWORD slowest_ = 0;
    unsigned roundTrips_ = 0;
    DWORD clicked_ = 0;
    std::wstring slowTrips_;  // "<ms after the last click>+<ms the trip took> ", the first few
};

DWORD Number(const wchar_t* text) { return static_cast<DWORD>(std::wcstoul(text, nullptr, 10)); }

}  // namespace

int wmain(int argc, wchar_t** argv) {
    Probe probe;
    for (int i = 1; i < argc; ++i) {
        const std::wstring step = argv[i];
        bool ok = false;
        std::wstring what = step;
        if (step == L"find" && i + 1 < argc) {
            ok = probe.Find(Number(argv[++i]));
        } else if (step == L"click" && i + 1 < argc) {
            what += L" " + std::wstring(argv[i + 1]);
            ok = probe.Click(static_cast<int>(Number(argv[++i])));
        } else if (step == L"wait" && i + 3 < argc) {
            what += L" " + std::wstring(argv[i + 1]) + L" " + argv[i + 2];
            ok = probe.Wait(static_cast<int>(Number(argv[i + 1])), argv[i + 2], Number(argv[i + 3]));
            i += 3;
        } else if (step == L"dump") {
            probe.Dump();
            ok = true;
        } else if (step == L"close") {
            ok = probe.Close();
        } else if (step == L"exit" && i + 1 < argc) {
            ok = probe.Exit(Number(argv[++i]));
        } else if (step == L"minimize") {
            ok = probe.Minimize();
        } else if (step == L"dialogs" && i + 2 < argc) {
            ok = probe.Dialogs(Number(argv[i + 1]), Number(argv[i + 2]));
            i += 2;
        } else if (step == L"closeall") {
            ok = Probe::CloseAll();
        } else if (step == L"nocrash") {
            ok = Probe::NoCrashDialog();
        } else if (step == L"sleep" && i + 1 < argc) {
            Sleep(Number(argv[++i]));
            ok = true;
        }
        Print(ok ? L"ok" : L"fail", what);
        if (!ok) return 1;
    }
    return 0;
}
