#include "appearance/PlayerSizes.h"

#include "platform/AppError.h"
#include "platform/Int16.h"

namespace {

bool allDigits(const QString& text) {
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

// A positive 16-bit pixel count written as plain digits.
std::optional<qint16> pixels(const QString& text) {
    if (!allDigits(text))
        return std::nullopt;
    try {
        const qint16 value = Int16::fromText(text);
        if (value > 0)
            return value;
    } catch (const AppError&) {
        // too large for the player's 16-bit sizes
    }
    return std::nullopt;
}

}  // namespace

bool PlayerSizes::setEntries(const QStringList& entries) {
    m_entries.clear();
    for (const QString& entry : entries) {
        if (!entry.isEmpty())
            m_entries.append(entry);
    }
    m_selected = -1;
    const bool wellFormed = select(0);  // error 9 for an empty list
    m_selected = 0;
    return wellFormed;
}

bool PlayerSizes::select(int index) {
    if (index < 0 || index >= m_entries.size())
        throw AppError(AppError::SubscriptOutOfRange, QString::number(index));
    const std::optional<Size> size = parse(m_entries[index]);
    if (!size)
        return false;
    m_selected = index;
    m_size = *size;
    return true;
}

std::optional<PlayerSizes::Size> PlayerSizes::parse(const QString& entry) {
    const QString word = entry.section(QLatin1Char(' '), 0, 0);
    const QStringList parts = word.split(QLatin1Char('x'));
    if (parts.size() != 2)
        return std::nullopt;
    const std::optional<qint16> width = pixels(parts[0]);
    const std::optional<qint16> height = pixels(parts[1]);
    if (!width || !height)
        return std::nullopt;
    return Size{*width, *height};
}

QString PlayerSizes::malformedEntryMessage(const QString& entry) {
    return QStringLiteral(
               "THE PLAYER SIZE \"%1\" IS NOT OF THE FORM WIDTHxHEIGHT WITH TWO WHOLE NUMBERS "
               "FROM 1 TO 32767. THE PREVIOUS SIZE STAYS IN USE.")
        .arg(entry);
}
