#include "updater/driver/link_speed.h"

#include "updater/driver/update_texts.h"

namespace {

// Ends older than this, or beyond this many, are forgotten, which keeps each call
// short in passes of very many files; a file lasting longer, beside more files than
// that, shows a lower speed than the link had.
constexpr std::uint32_t kForgetAfterMs = 10 * 60 * 1000;
constexpr std::size_t kMostRemembered = 4096;

}  // namespace

std::wstring LinkSpeed::FileEnded(std::uint64_t length, std::uint32_t startTick, std::uint32_t endTick) {
    const std::uint32_t took = endTick - startTick;
    std::uint64_t bytes = length;
    for (const Ended& other : recent_) {
        // Ended after this file started (not at that very tick: one file after another
        // starts at the tick the previous one ended) and not after this one.
        const std::uint32_t sinceStart = other.tick - startTick;
        if (sinceStart > 0 && sinceStart <= took) bytes += other.length;
    }
    recent_.push_back(Ended{endTick, length});
    while (!recent_.empty() &&
           (endTick - recent_.front().tick > kForgetAfterMs || recent_.size() > kMostRemembered))
        recent_.pop_front();
    return SpeedText(bytes, startTick, endTick);
}
