#include "KeyframeIndex.h"

#include <algorithm>

namespace flvmdi {

KeyframeIndex::KeyframeIndex(size_t capacity) : capacity_(std::max<size_t>(capacity, 2)) {}

void KeyframeIndex::add(uint32_t timestamp, uint64_t position) {
    if (any_ && timestamp <= lastTimestamp_)
        return;
    any_ = true;
    lastTimestamp_ = timestamp;
    if (accepted_++ % stride_ != 0)
        return;
    if (entries_.size() == capacity_) {
        // Keep the entries whose acceptance number is a multiple of the doubled stride.
        size_t kept = 0;
        for (size_t i = 0; i < entries_.size(); i += 2)
            entries_[kept++] = entries_[i];
        entries_.resize(kept);
        stride_ *= 2;
        if ((accepted_ - 1) % stride_ != 0)
            return;
    }
    entries_.push_back({timestamp, position});
}

}  // namespace flvmdi
