#include "appearance/PlayerSizes.h"

#include <QRegularExpression>

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
    const QString inForce = m_selected >= 0 ? m_entries.value(m_selected) : QString();
    m_entries.clear();
    for (const QString& entry : entries) {
        if (!entry.isEmpty())
            m_entries.append(entry);
    }
    m_selected = -1;
    // Closing the sizes dialog reads the list again; the size the user chose stays chosen.
    if (const qsizetype same = m_entries.indexOf(inForce); same >= 0 && parse(inForce)) {
        m_selected = int(same);
        return true;
    }
    if (select(0))  // error 9 for an empty list
        return true;
    m_selected = 0;
    for (int i = 1; i < m_entries.size() && !select(i); ++i) {
    }
    return false;
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

QString PlayerSizes::takenMessage() const {
    const QString first = m_entries.value(0);
    if (m_selected <= 0)
        return malformedEntryMessage(first);
    return QStringLiteral(
               "THE PLAYER SIZE \"%1\" IS NOT OF THE FORM WIDTHxHEIGHT WITH TWO WHOLE NUMBERS "
               "FROM 1 TO 32767. THE SIZE \"%2\" IS IN USE.")
        .arg(first, m_entries.value(m_selected));
}

QString PlayerSizes::firstMalformedLineMessage(const QString& text) {
    // Line breaks as the sizes file is written: CR LF, or a bare CR or LF from an edit box.
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    const QStringList lines = text.split(lineBreak);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (!line.isEmpty() && !parse(line))
            return QStringLiteral(
                       "DATA NOT SAVED. LINE %1 (\"%2\") IS NOT A PLAYER SIZE OF THE FORM "
                       "WIDTHxHEIGHT WITH TWO WHOLE NUMBERS FROM 1 TO 32767. PLEASE CORRECT IT AND "
                       "SAVE AGAIN.")
                .arg(i + 1)
                .arg(line);
    }
    return {};
}
