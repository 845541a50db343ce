// Reads big-endian bit fields and Exp-Golomb codes. Reading past the end yields zeros and marks
// the reader failed, so a parser checks `ok()` once instead of after every field.
#pragma once

#include <cstdint>
#include <span>

namespace flvmdi {

class BitReader {
  public:
    explicit BitReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    uint32_t bits(int n) {
        uint32_t value = 0;
        for (int i = 0; i < n; ++i)
            value = value << 1 | bit();
        return value;
    }
    uint32_t bit() {
        if (position_ >= bytes_.size() * 8) {
            failed_ = true;
            return 0;
        }
        const uint32_t b = bytes_[position_ / 8] >> (7 - position_ % 8) & 1;
        ++position_;
        return b;
    }
    // Unsigned Exp-Golomb; values beyond 32 bits mark the reader failed.
    uint32_t ue() {
        int zeros = 0;
        while (!failed_ && bit() == 0)
            if (++zeros > 31) {
                failed_ = true;
                return 0;
            }
        return uint32_t((uint64_t(1) << zeros) - 1 + bits(zeros));
    }
    int32_t se() {
        const uint32_t k = ue();
        return (k & 1) ? int32_t((k + 1) / 2) : -int32_t(k / 2);
    }
    void skip(size_t n) {
        for (size_t i = 0; i < n; ++i)
            bit();
    }
    bool ok() const { return !failed_; }

  private:
    std::span<const uint8_t> bytes_;
    size_t position_ = 0;
    bool failed_ = false;
};

}  // namespace flvmdi
