#include "platform/ControlCharacters.h"

namespace {

bool isBreak(QChar c) {
    return c == u'\t' || c == u'\r' || c == u'\n';
}

}  // namespace

bool ControlCharacters::isControl(QChar c) {
    const char16_t code = c.unicode();
    return code < 0x20 || (code >= 0x7F && code <= 0x9F);
}

qsizetype ControlCharacters::firstIndex(const QString& text, Breaks breaks) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (isControl(text[i]) && !(breaks == Breaks::Allowed && isBreak(text[i])))
            return i;
    }
    return -1;
}

QString ControlCharacters::shown(const QString& character) {
    if (character.size() == 1 && isControl(character[0]))
        return QStringLiteral("CONTROL CODE %1").arg(character[0].unicode());
    return QLatin1Char('"') + character + QLatin1Char('"');
}
