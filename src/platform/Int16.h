#pragma once

#include <QString>
#include <QtGlobal>

// Player sizes, playlist widths and heights and their sums are 16-bit in the stored files and the
// player; arithmetic on them is checked so an out-of-range value ends a run with error 6 instead of
// writing a wrapped number into a page.
namespace Int16 {

qint16 fromInt(long long value);  // error 6 when out of range
qint16 add(qint16 a, qint16 b);
qint16 add(qint16 a, qint16 b, qint16 c);
qint16 multiply(qint16 a, qint16 b);

// A decimal text as a 16-bit integer: surrounding blanks allowed, an optional sign, digits.
// Error 13 for anything else (also an empty text), error 6 when out of range.
qint16 fromText(const QString& text);

}  // namespace Int16
