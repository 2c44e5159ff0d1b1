// What the transfers of a download pass tell the pass's coordinating thread, which
// alone talks to the view.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

#include "updater/file_download.h"

struct PassEvent {
    enum Kind {
        kBlock,    // a block of the file arrived
        kFetched,  // the fetch ended (outcome: Fetched, Failed or Stop)
        kChecked,  // the check and installation of a fetched file ended
    };
    Kind kind = kBlock;
    int row = 0;  // the file's index in the list, and its row
    // kBlock: the bytes so far, the announced length, the sizes of the blocks read
    // since the previous kBlock event of this file, in order (the last is 0 at the
    // end of the body), and whether the row and bar are due to be shown. A lane
    // gathers blocks until they are due to be shown: one event per block would cost a
    // wake-up of the coordinator per 40 KiB.
    std::uint64_t received = 0;
    std::uint64_t length = 1;
    std::vector<std::uint32_t> blocks;
    bool show = false;
    // kFetched, kChecked.
    FileDownloadOutcome outcome;
    // kFetched: when the response arrived and when the fetch ended.
    std::uint32_t startTick = 0;
    std::uint32_t endTick = 0;
};

// A queue of events from any thread to the coordinator, in the order they were pushed.
class PassEvents {
public:
    void Push(PassEvent event) {
        {
            std::lock_guard<std::mutex> guard(lock_);
            events_.push_back(std::move(event));
        }
        ready_.notify_one();
    }

    // The next event; waits until there is one. Every job handed to the lanes ends
    // in a kFetched event and every fetched file in a kChecked event, so a
    // coordinator that waits only for what it is owed is always woken.
    PassEvent Next() {
        std::unique_lock<std::mutex> guard(lock_);
        ready_.wait(guard, [this] { return !events_.empty(); });
        PassEvent event = std::move(events_.front());
        events_.pop_front();
        return event;
    }

private:
    std::mutex lock_;
    std::condition_variable ready_;
    std::deque<PassEvent> events_;
};
