#pragma once

#include <QByteArray>
#include <QString>

// Every file the program reads or writes is Windows-1252 text. All 256 byte values map to a
// character and back (the five unassigned codes to the C1 controls of the same number), so a
// scrambled line with arbitrary bytes round-trips exactly. A character outside the code page
// becomes "?".
namespace Cp1252 {

unsigned char encodeChar(char16_t c);  // '?' when not representable
char16_t decodeByte(unsigned char b);
bool isRepresentable(char16_t c);
// Index of the first character the code page does not have, or -1.
qsizetype firstUnrepresentable(const QString& text);
// The character at `index` as the user sees it: beyond the basic plane, both of its halves.
QString characterAt(const QString& text, qsizetype index);

QByteArray encode(const QString& text);
QString decode(const QByteArray& bytes);

}  // namespace Cp1252
