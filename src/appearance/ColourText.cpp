#include "appearance/ColourText.h"

namespace {

QString twoDigits(quint32 byte) {
    return QString::number(byte & 0xFFu, 16).rightJustified(2, u'0').toUpper();
}

// -1 for anything but 0-9, A-F and a-f.
int hexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    return -1;
}

quint32 readPair(const QString& text, int from) {
    quint32 value = 0;
    for (int i = from; i < from + 2 && i < text.size(); ++i) {
        const int digit = hexDigit(text[i]);
        if (digit < 0)
            break;
        value = value * 16 + static_cast<quint32>(digit);
    }
    return value;
}

}  // namespace

namespace ColourText {

QString fromColour(quint32 colour) {
    return twoDigits(colour) + twoDigits(colour >> 8) + twoDigits(colour >> 16);
}

quint32 toColour(const QString& text) {
    return readPair(text, 0) + 256 * readPair(text, 2) + 65536 * readPair(text, 4);
}

}  // namespace ColourText
