#include "updater/driver/progress.h"

#include <algorithm>

std::uint32_t PassProgress::AddBlock(std::uint32_t block, std::uint64_t length) {
    const std::uint64_t announced = length == 0 ? 1 : length;
    const std::uint64_t step = static_cast<std::uint64_t>(block) * kProgressMax / (announced * total_);
    const std::uint64_t shareEnd = std::min<std::uint64_t>((filesDone_ + 1) * kProgressMax / total_, kProgressMax);
    position_ = static_cast<std::uint32_t>(std::min<std::uint64_t>(position_ + step, shareEnd));
    return position_;
}

std::uint32_t PassProgress::FinishFile() {
    filesDone_ = std::min(filesDone_ + 1, total_);
    position_ = static_cast<std::uint32_t>(filesDone_ * kProgressMax / total_);
    return position_;
}
