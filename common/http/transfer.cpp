#include "common/http/transfer.h"

#include <vector>

#include "common/http/http_client.h"

namespace transfer {

TransferOutcome TransferBody(const BlockReader& read, const BlockWriter& write, const BlockObserver& observer,
                             std::uint32_t blockSize, std::uint64_t limit) {
    TransferOutcome outcome;
    std::vector<char> buffer(blockSize == 0 ? 1 : blockSize);
    const auto capacity = static_cast<std::uint32_t>(buffer.size());
    for (;;) {
        std::uint32_t count = 0;
        if (!read(buffer.data(), capacity, count)) {
            outcome.result = TransferResult::ReadFailed;
            return outcome;
        }
        outcome.received += count;
        if (observer) observer(outcome.received, count);
        if (count == 0) {
            outcome.result = TransferResult::Complete;
            return outcome;
        }
        if (outcome.received > limit) {
            outcome.result = TransferResult::LimitExceeded;
            return outcome;
        }
        if (!write(buffer.data(), count)) {
            outcome.result = TransferResult::WriteFailed;
            return outcome;
        }
    }
}

win32::unique_file OpenTransferTarget(const std::wstring& path, bool append) {
    win32::unique_file file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                        append ? OPEN_ALWAYS : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file && append) {
        LARGE_INTEGER zero{};
        SetFilePointerEx(file.get(), zero, nullptr, FILE_END);
    }
    return file;
}

TransferOutcome TransferBodyToFile(CHttpClient& client, HANDLE file, const BlockObserver& observer,
                                   std::uint64_t limit, const BlockTap& written) {
    const BlockReader read = [&client](char* buffer, std::uint32_t capacity, std::uint32_t& count) {
        return client.ReadData(buffer, capacity, count);
    };
    const BlockWriter write = [file, &written](const char* data, std::uint32_t size) {
        DWORD stored = 0;
        if (!WriteFile(file, data, size, &stored, nullptr) || stored != size) return false;
        if (written) written(data, size);
        return true;
    };
    return TransferBody(read, write, observer, kHttpBlockSize, limit);
}

}  // namespace transfer
