#include "tests/services/peer_process.h"

#include <atomic>
#include <vector>

#include "tests/support/test_files.h"

namespace testing_support {

PeerProcess::PeerProcess(const std::wstring& arguments) {
    const std::wstring exe = ExecutableFolder() + L"\\pipe_peer.exe";
    std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
    std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(exe.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return;
    CloseHandle(info.hThread);
    process_.reset(info.hProcess);
    pid_ = info.dwProcessId;
}

PeerProcess::~PeerProcess() { Kill(); }

long PeerProcess::Wait(DWORD timeoutMs) {
    if (!process_) return -1;
    if (WaitForSingleObject(process_.get(), timeoutMs) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(process_.get(), &code);
    return static_cast<long>(code);
}

bool PeerProcess::Running() { return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }

void PeerProcess::Kill() {
    if (Running()) {
        TerminateProcess(process_.get(), 99);
        WaitForSingleObject(process_.get(), 5000);
    }
}

std::wstring UniquePipeName(const wchar_t* hint) {
    static std::atomic<int> counter{0};
    return std::wstring(L"VelmoraTest_") + hint + L"_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
           std::to_wstring(++counter);
}

}  // namespace testing_support
