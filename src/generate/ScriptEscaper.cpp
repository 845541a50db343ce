#include "generate/ScriptEscaper.h"

#include <array>
#include <cstring>

#include "platform/Cp1252.h"

namespace {

const QString kMarker = QStringLiteral("document.write(unescape(\"\\x");
const QString kHead = QStringLiteral("document.write(unescape(\"");
const QString kTail = QStringLiteral("\"));");

// The escape text of one Windows-1252 byte, as it goes into the string literal.
struct Escape {
    qsizetype size = 0;
    std::array<char16_t, 12> chars{};
};

void appendHex(Escape& e, unsigned value, int digits) {
    static constexpr char16_t kHex[] = u"0123456789abcdef";
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4)
        e.chars[e.size++] = kHex[(value >> shift) & 0xF];
}

void appendByteEscape(Escape& e, unsigned value) {
    e.chars[e.size++] = u'\\';
    e.chars[e.size++] = u'x';
    appendHex(e, value, 2);
}

Escape escapeFor(unsigned char byte) {
    Escape e;
    const char16_t c = Cp1252::decodeByte(byte);
    if (c == u'%') {
        // The statement passes the decoded literal through unescape(), which would turn a "%20"
        // of the user's HTML into a blank; "%25" comes out of it as the "%" that was typed.
        appendByteEscape(e, u'%');
        appendByteEscape(e, u'2');
        appendByteEscape(e, u'5');
    } else if (c > 0xFF) {
        // \x80 would be read as the control character U+0080 by the browser, not as the euro
        // sign of byte 0x80; the character itself keeps the typographic quotes, dashes and the
        // euro sign the user pasted.
        e.chars[e.size++] = u'\\';
        e.chars[e.size++] = u'u';
        appendHex(e, c, 4);
    } else {
        appendByteEscape(e, c);
    }
    return e;
}

const std::array<Escape, 256>& escapeTable() {
    static const std::array<Escape, 256> table = [] {
        std::array<Escape, 256> t;
        for (int b = 0; b < 256; ++b)
            t[b] = escapeFor(static_cast<unsigned char>(b));
        return t;
    }();
    return table;
}

// Characters outside Windows-1252 (the page's scripts are written in it) keep their own \u
// escape instead of the byte escape of "?".
const Escape& escapeOf(char16_t c, const std::array<Escape, 256>& table, Escape& scratch) {
    if (Cp1252::isRepresentable(c))
        return table[Cp1252::encodeChar(c)];
    scratch = Escape{};
    scratch.chars[scratch.size++] = u'\\';
    scratch.chars[scratch.size++] = u'u';
    appendHex(scratch, c, 4);
    return scratch;
}

}  // namespace

QString ScriptEscaper::escape(const QString& text) {
    if (text.isEmpty() || text.lastIndexOf(kMarker) >= 0)
        return {};
    const std::array<Escape, 256>& table = escapeTable();
    const char16_t* units = reinterpret_cast<const char16_t*>(text.utf16());
    Escape scratch;

    qsizetype size = kHead.size() + kTail.size();
    for (qsizetype i = 0; i < text.size(); ++i)
        size += escapeOf(units[i], table, scratch).size;

    QString result(size, Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(result.data());
    std::memcpy(out, kHead.utf16(), kHead.size() * sizeof(char16_t));
    out += kHead.size();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const Escape& e = escapeOf(units[i], table, scratch);
        // Nearly every character takes four; a fixed-size copy is a single store.
        if (e.size == 4)
            std::memcpy(out, e.chars.data(), 4 * sizeof(char16_t));
        else
            std::memcpy(out, e.chars.data(), e.size * sizeof(char16_t));
        out += e.size;
    }
    std::memcpy(out, kTail.utf16(), kTail.size() * sizeof(char16_t));
    return result;
}
