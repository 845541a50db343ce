#include "convert/BoxWriter.h"

void BoxWriter::fourcc(const char (&name)[5]) {
    for (int i = 0; i < 4; ++i)
        u8(uint8_t(name[i]));
}

size_t BoxWriter::begin(const char (&type)[5]) {
    const size_t mark = m_bytes.size();
    u32(0);
    fourcc(type);
    return mark;
}

size_t BoxWriter::beginFull(const char (&type)[5], uint8_t version, uint32_t flags) {
    const size_t mark = begin(type);
    u8(version);
    u24(flags);
    return mark;
}

void BoxWriter::patchU32(size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        m_bytes[at + i] = uint8_t(value >> (24 - 8 * i));
}

void BoxWriter::end(size_t mark) {
    patchU32(mark, uint32_t(m_bytes.size() - mark));
}

size_t BoxWriter::beginDescriptor(uint8_t tag) {
    u8(tag);
    const size_t mark = m_bytes.size();
    zeros(4);
    return mark;
}

void BoxWriter::endDescriptor(size_t mark) {
    const uint64_t length = m_bytes.size() - mark - 4;
    for (int i = 0; i < 4; ++i)
        m_bytes[mark + i] = uint8_t((length >> (21 - 7 * i) & 0x7F) | (i < 3 ? 0x80 : 0));
}
