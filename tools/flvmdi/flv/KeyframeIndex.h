// The keyframe index in memory: time and position of each keyframe, kept strictly increasing in
// time and bounded in size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace flvmdi {

class KeyframeIndex {
  public:
    struct Entry {
        uint32_t timestamp = 0;  // milliseconds
        uint64_t position = 0;   // where the keyframe tag lands among the kept tags
        bool operator==(const Entry&) const = default;
    };

    // Half a million entries fill about 9 MB of script data, well inside the largest tag, and
    // 8 MB of memory; a file with more keyframes gets every second one, then every fourth, ...
    static constexpr size_t kDefaultCapacity = 512 * 1024;

    explicit KeyframeIndex(size_t capacity = kDefaultCapacity);

    // Keyframes arrive in file order. One whose time is not after the last indexed one is left
    // out: a player's seek table must be sorted and cannot tell two positions of one time apart.
    void add(uint32_t timestamp, uint64_t position);
    const std::vector<Entry>& entries() const { return entries_; }

  private:
    size_t capacity_;
    uint64_t stride_ = 1;
    uint64_t accepted_ = 0;
    bool any_ = false;
    uint32_t lastTimestamp_ = 0;
    std::vector<Entry> entries_;
};

}  // namespace flvmdi
