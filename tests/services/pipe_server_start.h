// Starts a pipe server for a test and waits (bounded) until its first instance accepts.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "launcher/services/ipc_named_pipe.h"
#include "launcher/services/ipc_wire.h"
#include "tests/services/wait_until.h"

inline std::unique_ptr<IPCToolClassNamePipe> StartServer(const std::wstring& name) {
    auto server = std::make_unique<IPCToolClassNamePipe>(IPC_ROLE_SERVER);
    EXPECT_TRUE(server->Init(name, 0));
    // The accept thread creates the first instance shortly after Init returns.
    const std::wstring path = ipc::PipePath(name);
    EXPECT_TRUE(WaitUntil([&] { return WaitNamedPipeW(path.c_str(), 50) != 0; }, 3000));
    return server;
}
