// Random access to the bytes of an FLV file, so the reader works the same on a mapped file, a
// file read piece by piece and bytes held in memory (tests, fuzzing).
#pragma once

#include <algorithm>
#include <cstdint>
#include <span>

namespace flvmdi {

class ByteSource {
  public:
    virtual ~ByteSource() = default;
    virtual uint64_t size() const = 0;
    // Up to n bytes from offset, fewer only at the end of the source. The view stays valid until
    // the next call. Throws IoError.
    virtual std::span<const uint8_t> view(uint64_t offset, size_t n) = 0;
};

class MemorySource : public ByteSource {
  public:
    explicit MemorySource(std::span<const uint8_t> bytes) : bytes_(bytes) {}
    uint64_t size() const override { return bytes_.size(); }
    std::span<const uint8_t> view(uint64_t offset, size_t n) override {
        if (offset >= bytes_.size())
            return {};
        return bytes_.subspan(size_t(offset), std::min<uint64_t>(n, bytes_.size() - offset));
    }

  private:
    std::span<const uint8_t> bytes_;
};

}  // namespace flvmdi
