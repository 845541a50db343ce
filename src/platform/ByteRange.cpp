#include "platform/ByteRange.h"

#include <limits>

namespace {

// A run of digits only, as a number; -1 for anything else (signs, blanks, an empty text, a number
// too large for a file position).
qint64 digits(const QByteArray& text) {
    if (text.isEmpty() || text.size() > 18)
        return -1;
    for (const char c : text)
        if (c < '0' || c > '9')
            return -1;
    return text.toLongLong();
}

ByteRange part(qint64 first, qint64 last) {
    return {ByteRange::Kind::Part, first, last};
}

}  // namespace

ByteRange ByteRange::parse(const QByteArray& header, qint64 fileSize) {
    const QByteArray value = header.trimmed();
    if (!value.startsWith("bytes=") || value.contains(','))
        return {};
    const QByteArray range = value.mid(6).trimmed();
    const qsizetype dash = range.indexOf('-');
    if (dash < 0)
        return {};
    const QByteArray from = range.left(dash).trimmed();
    const QByteArray to = range.mid(dash + 1).trimmed();
    if (from.isEmpty()) {  // the last N bytes
        const qint64 suffix = digits(to);
        if (suffix < 0)
            return {};
        if (suffix == 0 || fileSize == 0)
            return {Kind::Unsatisfiable};
        return part(qMax<qint64>(0, fileSize - suffix), fileSize - 1);
    }
    const qint64 first = digits(from);
    const qint64 last = to.isEmpty() ? std::numeric_limits<qint64>::max() : digits(to);
    if (first < 0 || last < first)
        return {};
    if (first >= fileSize)
        return {Kind::Unsatisfiable};
    return part(first, qMin(last, fileSize - 1));
}
