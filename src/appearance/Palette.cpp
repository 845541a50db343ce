#include "appearance/Palette.h"

#include "appearance/ColourText.h"
#include "appearance/SkinList.h"
#include "platform/AppError.h"

Palette::Palette(Kind kind, QString colourText, std::array<QString, BoxCount> boxes)
    : m_kind(kind), m_colourText(std::move(colourText)), m_boxes(std::move(boxes)) {}

const Palette& Palette::dark() {
    static const Palette palette(
        Kind::Dark, QStringLiteral("630E0E"),
        {"4C4646", "630E0E", "564903", "45015E", "02135C", "024349", "3C3C3C", "441414", "393102",
         "260134", "010C3D", "012E32", "2C2C2C", "311818", "231E01", "1A0124", "010721", "011618"});
    return palette;
}

const Palette& Palette::light() {
    static const Palette palette(
        Kind::Light, QStringLiteral("FFCC66"),
        {"CFCECE", "F28460", "2FE08B", "46B7E1", "D272EE", "FFCC66", "B8B8B8", "F07B26", "22C275",
         "50ACCE", "B563CD", "F2BC4F", "A1A09F", "E1A042", "3BAF77", "3D8DAA", "B46EC8", "ECCB32"});
    return palette;
}

const Palette& Palette::forSkin(const QString& skinName) {
    return SkinList::isDark(skinName) ? dark() : light();
}

QString Palette::boxText(int index) const {
    if (index < 0 || index >= BoxCount)
        throw AppError(AppError::SubscriptOutOfRange, QString::number(index));
    return m_boxes[static_cast<std::size_t>(index)];
}

quint32 Palette::boxColour(int index) const {
    return ColourText::toColour(boxText(index));
}

QString Palette::message() const {
    const QString first =
        m_kind == Kind::Dark
            ? QStringLiteral(
                  "You have selected a player that will look better with a dark color tint.")
            : QStringLiteral(
                  "You have selected a player that will look better with a light color tint.");
    return first +
           QStringLiteral(
               "You can always select your own color or you can select any color from the pallete "
               "below ") +
           QStringLiteral("by clicking the respective color box.");
}
