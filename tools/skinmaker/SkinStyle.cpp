#include "SkinStyle.h"

std::optional<SkinStyle> SkinStyle::fromName(const QString& name) {
    // Characters 6 and 7, counted from 1, as the program reads them.
    const QString digits = name.mid(5, 2);
    if (digits.size() != 2 || !digits.at(0).isDigit() || !digits.at(1).isDigit())
        return std::nullopt;
    SkinStyle style;
    style.name = name;
    style.allowance = digits.toInt();
    style.dark = name.contains(QStringLiteral("dark"), Qt::CaseSensitive);
    style.floatingBar = name.contains(QStringLiteral("float"), Qt::CaseSensitive);
    return style;
}

QColor SkinStyle::barColor() const {
    return dark ? QColor(0x26, 0x26, 0x2A) : QColor(0xE6, 0xE6, 0xE3);
}

QColor SkinStyle::controlColor() const {
    // Kept away from white on dark skins, so a dark preview has no bright areas at all.
    return dark ? QColor(0xA8, 0xA8, 0xA8) : QColor(0x50, 0x50, 0x55);
}
