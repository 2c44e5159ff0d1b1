#include "updater/driver/progress.h"

#include <algorithm>

PassProgress::PassProgress(int total)
    : total_(total > 0 ? static_cast<std::uint64_t>(total) : 1),
      shareOfFile_(kProgressMax / total_),
      reached_(total_, 0),
      finished_(total_, false) {}

std::uint32_t PassProgress::AddBlock(int file, std::uint32_t block, std::uint64_t length) {
    if (file < 0 || static_cast<std::uint64_t>(file) >= total_ || finished_[file]) return position();
    const std::uint64_t announced = length == 0 ? 1 : length;
    const std::uint64_t step = static_cast<std::uint64_t>(block) * kProgressMax / (announced * total_);
    std::uint64_t& reached = reached_[file];
    const std::uint64_t before = std::min(reached, shareOfFile_);
    reached = std::min(reached + step, shareOfFile_);
    underWay_ += reached - before;
    return position();
}

std::uint32_t PassProgress::FinishFile(int file) {
    if (file >= 0 && static_cast<std::uint64_t>(file) < total_ && !finished_[file]) {
        finished_[file] = true;
        underWay_ -= reached_[file];
        filesDone_ = std::min(filesDone_ + 1, total_);
    }
    return position();
}

std::uint32_t PassProgress::position() const {
    // The finished files' shares end where a one-by-one pass would stand after them;
    // files under way add at most their least whole share each, so this never
    // passes the end of the shares they occupy.
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(filesDone_ * kProgressMax / total_ + underWay_,
                                                              kProgressMax));
}
