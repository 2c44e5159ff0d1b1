// A child process for the tests (the pipe peer), killed if still running when the
// object goes away, so a failing test leaves nothing behind.
#pragma once

#include <windows.h>

#include <string>

#include "common/win32/unique_handle.h"

namespace testing_support {

class PeerProcess {
public:
    // Starts <test folder>\pipe_peer.exe with `arguments`; check started().
    explicit PeerProcess(const std::wstring& arguments);
    ~PeerProcess();
    PeerProcess(const PeerProcess&) = delete;
    PeerProcess& operator=(const PeerProcess&) = delete;

    bool started() const { return static_cast<bool>(process_); }
    DWORD pid() const { return pid_; }
    // The exit code, or -1 when it has not ended within `timeoutMs`.
    long Wait(DWORD timeoutMs);
    bool Running();
    void Kill();

private:
    win32::unique_handle process_;
    DWORD pid_ = 0;
};

// A pipe name no other test (or test process) uses.
std::wstring UniquePipeName(const wchar_t* hint);

}  // namespace testing_support
