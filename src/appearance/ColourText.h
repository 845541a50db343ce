#pragma once

#include <QString>
#include <QtGlobal>

// A tint is held twice: as the text the user types ("630E0E", red green blue, two hexadecimal
// digits each) and as the colour number of the swatch (red + 256 * green + 65536 * blue).
namespace ColourText {

// Six upper-case hexadecimal digits; only the low 24 bits of `colour` count.
QString fromColour(quint32 colour);

// Reads the pairs at characters 1-2, 3-4 and 5-6 as red, green and blue. A pair is read up to
// its first character that is not a hexadecimal digit (either case); a missing or unreadable
// pair counts as 0, so every text a user can type gives a colour.
quint32 toColour(const QString& text);

}  // namespace ColourText
