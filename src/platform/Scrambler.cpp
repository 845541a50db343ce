#include "platform/Scrambler.h"

#include <QByteArray>

#include "platform/AppError.h"
#include "platform/Cp1252.h"

namespace {

QByteArray codesOf(const QString& text) {
    const QByteArray codes = Cp1252::encode(text);
    if (codes.size() > Scrambler::kMaxLength)
        throw AppError(AppError::Overflow,
                       QStringLiteral("text of %1 characters").arg(codes.size()));
    return codes;
}

unsigned char codeAt(const QByteArray& codes, qsizetype index) {
    return static_cast<unsigned char>(codes[index]);
}

}  // namespace

QString Scrambler::shift(const QString& text, const QString& key, int direction) {
    if (key.isEmpty())
        return text;
    const QByteArray codes = codesOf(text);
    const QByteArray keyCodes = Cp1252::encode(key);
    const qsizetype m = keyCodes.size();
    QString result;
    result.reserve(codes.size());
    for (qsizetype i = 0; i < codes.size(); ++i) {
        // Position i + 1 of the text takes key position ((i + 1) mod m) + 1.
        const int k = codeAt(keyCodes, (i + 1) % m);
        const int shifted = (codeAt(codes, i) + direction * k) & 0xFF;
        result.append(QChar(Cp1252::decodeByte(static_cast<unsigned char>(shifted))));
    }
    return result;
}

QString Scrambler::scramble(const QString& text, const QString& key) {
    return shift(text, key, +1);
}

QString Scrambler::unscramble(const QString& text, const QString& key) {
    return shift(text, key, -1);
}

qsizetype Scrambler::lineBreakIndex(const QString& text, const QString& key) {
    const QByteArray codes = Cp1252::encode(scramble(text, key));
    for (qsizetype i = 0; i < codes.size(); ++i) {
        if (codes[i] == '\r' || codes[i] == '\n')
            return i;
    }
    return -1;
}

bool Scrambler::scramblesToLineBreak(const QString& text, const QString& key) {
    return lineBreakIndex(text, key) >= 0;
}

qsizetype Scrambler::unstorableIndex(const QString& text, const QString& key) {
    if (const qsizetype at = Cp1252::firstUnrepresentable(text); at >= 0)
        return at;
    // Every character is one byte now, so the byte index is the character index.
    return lineBreakIndex(text, key);
}
