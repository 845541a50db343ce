#pragma once

#include <cstdint>
#include <span>
#include <vector>

// Builds ISO base media boxes in memory: big-endian fields, and boxes whose size is filled in
// when they are closed, so nested boxes need no size computed up front.
class BoxWriter {
  public:
    void u8(uint8_t value) { m_bytes.push_back(value); }
    void u16(uint32_t value) { put<2>(value); }
    void u24(uint32_t value) { put<3>(value); }
    void u32(uint32_t value) { put<4>(value); }
    void u64(uint64_t value) { put<8>(value); }
    // A 32-bit field where `wide` is false, a 64-bit one where it is true.
    void uSized(uint64_t value, bool wide) { wide ? u64(value) : u32(uint32_t(value)); }
    void zeros(size_t count) { m_bytes.insert(m_bytes.end(), count, 0); }
    void bytes(std::span<const uint8_t> data) {
        m_bytes.insert(m_bytes.end(), data.begin(), data.end());
    }
    void fourcc(const char (&name)[5]);

    // Overwrites four bytes written before, e.g. a count known only after its entries.
    void patchU32(size_t at, uint32_t value);

    // Opens a box; `end` with the returned mark closes it.
    size_t begin(const char (&type)[5]);
    size_t beginFull(const char (&type)[5], uint8_t version, uint32_t flags);
    void end(size_t mark);

    // An MPEG-4 descriptor (inside `esds`) with a four-byte length, as muxers write them;
    // `endDescriptor` fills the length in.
    size_t beginDescriptor(uint8_t tag);
    void endDescriptor(size_t mark);

    size_t size() const { return m_bytes.size(); }
    const std::vector<uint8_t>& data() const { return m_bytes; }
    std::vector<uint8_t> take() { return std::move(m_bytes); }

    void reserve(size_t bytes) { m_bytes.reserve(bytes); }

  private:
    // One growth check per field, not per byte: the sample tables are hundreds of thousands of
    // fields long.
    template <int N>
    void put(uint64_t value) {
        const size_t at = m_bytes.size();
        m_bytes.resize(at + N);
        uint8_t* p = m_bytes.data() + at;
        for (int i = 0; i < N; ++i)
            p[i] = uint8_t(value >> (8 * (N - 1 - i)));
    }

    std::vector<uint8_t> m_bytes;
};
