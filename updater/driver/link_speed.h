// The download speed shown when a file ends.
//
// With one transfer at a time the speed of a file is its announced length over the
// time it took. With several transfers under way they share the link, and one file's
// own rate would show only its part of it; so the speed is the announced lengths of
// every file that ended while this one was under way (this one included), over this
// one's time. One after another, that is exactly the file's own length.
#pragma once

#include <cstdint>
#include <deque>
#include <string>

class LinkSpeed {
public:
    // Records that a file announced as `length` bytes ran from `startTick` to
    // `endTick` (milliseconds, wrap-around safe) and returns the speed label text.
    std::wstring FileEnded(std::uint64_t length, std::uint32_t startTick, std::uint32_t endTick);

private:
    struct Ended {
        std::uint32_t tick;
        std::uint64_t length;
    };
    std::deque<Ended> recent_;  // files ended lately, in the order they were told
};
