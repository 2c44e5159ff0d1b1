// The threads that fetch the files of a download pass side by side.
//
// Each lane fetches one file at a time, then checks and installs it before taking the
// next (the digest is taken while the body arrives, so the check costs no second
// reading of the file). Everything a lane learns goes to the pass's event queue; the
// lanes never touch the view.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <condition_variable>
#include <string>
#include <thread>
#include <vector>

#include "updater/driver/pass_events.h"
#include "updater/driver/update_engine.h"

struct TransferJob {
    int row = 0;  // the file's index in the list
    UpdateItem item;
};

class TransferLanes {
public:
    // Starts `lanes` threads (at least one is asked for). When no thread can be
    // started, Start runs each job on the calling thread instead. `engine` and
    // `events` must outlive the object.
    TransferLanes(IUpdateEngine& engine, PassEvents& events, std::wstring url, std::wstring folder, bool resume,
                  int lanes);
    // Lets the lanes finish their jobs and checks, and joins them.
    ~TransferLanes();
    TransferLanes(const TransferLanes&) = delete;
    TransferLanes& operator=(const TransferLanes&) = delete;

    // Hands `job` to the next free lane. The caller keeps at most as many jobs
    // unfinished (no kFetched event yet) as there are lanes.
    void Start(TransferJob job);

    int count() const;

private:
    void Run();
    void Transfer(const TransferJob& job);

    IUpdateEngine& engine_;
    PassEvents& events_;
    const std::wstring url_;
    const std::wstring folder_;
    const bool resume_;

    std::mutex lock_;
    std::condition_variable ready_;
    std::deque<TransferJob> jobs_;
    bool closing_ = false;
    std::vector<std::thread> threads_;
};
