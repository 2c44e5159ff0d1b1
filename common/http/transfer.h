// Moving a response body into a file: the one transfer loop of every download.
//
// The loop itself (TransferBody) sees only a block reader and a block writer, so it
// is plain logic: byte counts are 64-bit and a body past 4 GiB is counted exactly.
// TransferBodyToFile binds it to a CHttpClient and an open file.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <string>

#include "common/win32/unique_handle.h"

class CHttpClient;

namespace transfer {

enum class TransferResult {
    Complete,       // the body ended (a successful read of zero bytes)
    ReadFailed,     // a read of the body failed
    WriteFailed,    // the sink took fewer bytes than it was given
    LimitExceeded,  // the body grew past the limit; the block beyond it was not written
};

struct TransferOutcome {
    TransferResult result = TransferResult::ReadFailed;
    std::uint64_t received = 0;  // bytes read from the body, the block over a limit included
};

// Reads up to `capacity` bytes into `buffer`; false on failure. `read` == 0 with
// true means the body is complete.
using BlockReader = std::function<bool(char* buffer, std::uint32_t capacity, std::uint32_t& read)>;
// Stores `size` bytes; false when they were not all stored.
using BlockWriter = std::function<bool(const char* data, std::uint32_t size)>;
// Told after every successful read, the final empty one included (block == 0):
// the bytes received so far and the size of the block just read.
using BlockObserver = std::function<void(std::uint64_t received, std::uint32_t block)>;

// Sees every block once it is stored, in order (a running digest of what the file
// now holds, for instance).
using BlockTap = std::function<void(const char* data, std::uint32_t size)>;

inline constexpr std::uint64_t kNoLimit = std::numeric_limits<std::uint64_t>::max();

// Reads blocks of `blockSize` bytes until the body ends, telling `observer` (may be
// empty) after each read and then writing the block. Order per block: read, count,
// observe, check the limit, write.
TransferOutcome TransferBody(const BlockReader& read, const BlockWriter& write, const BlockObserver& observer,
                             std::uint32_t blockSize, std::uint64_t limit = kNoLimit);

// TransferBody from `client`'s current response into `file` (a handle open for
// writing at the position to continue from), in kHttpBlockSize blocks.
// Opens the file a body goes into, with read sharing: truncated (created when
// missing), or with `append` kept and positioned at its end (64-bit, so a file past
// 4 GiB is continued at its real end). Invalid when it cannot be opened.
win32::unique_file OpenTransferTarget(const std::wstring& path, bool append);

// `written` (may be empty) sees each block after it was written.
TransferOutcome TransferBodyToFile(CHttpClient& client, HANDLE file, const BlockObserver& observer,
                                   std::uint64_t limit = kNoLimit, const BlockTap& written = {});

}  // namespace transfer
