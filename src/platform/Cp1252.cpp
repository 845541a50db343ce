#include "platform/Cp1252.h"

namespace {

// Characters of bytes 0x80..0x9F; the unassigned 0x81, 0x8D, 0x8F, 0x90 and 0x9D keep their C1
// code.
constexpr char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool isHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool isLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

}  // namespace

namespace Cp1252 {

unsigned char encodeChar(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<unsigned char>(c);
    for (int i = 0; i < 32; ++i) {
        if (kHigh[i] == c)
            return static_cast<unsigned char>(0x80 + i);
    }
    return '?';
}

char16_t decodeByte(unsigned char b) {
    return (b >= 0x80 && b < 0xA0) ? kHigh[b - 0x80] : b;
}

bool isRepresentable(char16_t c) {
    return c == u'?' || encodeChar(c) != '?';
}

qsizetype firstUnrepresentable(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!isRepresentable(text[i].unicode()))
            return i;
    }
    return -1;
}

QString characterAt(const QString& text, qsizetype index) {
    const bool pair = text[index].isHighSurrogate() && index + 1 < text.size() &&
                      text[index + 1].isLowSurrogate();
    return text.mid(index, pair ? 2 : 1);
}

QByteArray encode(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    const char16_t* p = reinterpret_cast<const char16_t*>(text.utf16());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        // A character beyond the basic plane is one character to the user: one "?".
        if (isHighSurrogate(p[i]) && i + 1 < n && isLowSurrogate(p[i + 1]))
            ++i;
        out.append(static_cast<char>(encodeChar(p[i])));
    }
    return out;
}

QString decode(const QByteArray& bytes) {
    QString out(bytes.size(), Qt::Uninitialized);
    char16_t* q = reinterpret_cast<char16_t*>(out.data());
    for (qsizetype i = 0; i < bytes.size(); ++i)
        q[i] = decodeByte(static_cast<unsigned char>(bytes[i]));
    return out;
}

}  // namespace Cp1252
