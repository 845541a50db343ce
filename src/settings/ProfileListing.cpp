#include "settings/ProfileListing.h"

#include "platform/AppError.h"
#include "platform/Cp1252.h"
#include "platform/Scrambler.h"
#include "settings/ProfileLayout.h"
#include "settings/ProfileListingError.h"

namespace {

[[noreturn]] void refuse(const QString& text) {
    throw ProfileListingError(text);
}

}  // namespace

QString ProfileListing::escape(const QString& value) {
    QString text;
    text.reserve(value.size());
    for (const QChar c : value) {
        if (c == QLatin1Char('\\'))
            text += QLatin1String("\\\\");
        else if (c == QLatin1Char('\r'))
            text += QLatin1String("\\r");
        else if (c == QLatin1Char('\n'))
            text += QLatin1String("\\n");
        else
            text += c;
    }
    return text;
}

QString ProfileListing::unescape(const QString& key, const QString& text) {
    QString value;
    value.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != QLatin1Char('\\')) {
            value += text[i];
            continue;
        }
        const QChar next = i + 1 < text.size() ? text[i + 1] : QChar();
        if (next == QLatin1Char('\\'))
            value += QLatin1Char('\\');
        else if (next == QLatin1Char('r'))
            value += QLatin1Char('\r');
        else if (next == QLatin1Char('n'))
            value += QLatin1Char('\n');
        else
            refuse(QStringLiteral("bad value for %1: a backslash must be followed by \\, r or n")
                       .arg(key));
        ++i;
    }
    return value;
}

QStringList ProfileListing::show(const QStringList& values) {
    QStringList lines;
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (const ProfileSetting* setting = ProfileLayout::atLine(int(i + 1)))
            lines.append(QLatin1String(setting->key) + QLatin1Char('=') + escape(values[i]));
    }
    return lines;
}

QMap<int, QString> ProfileListing::parse(const QStringList& pairs) {
    QMap<int, QString> lines;
    for (const QString& pair : pairs) {
        const qsizetype equals = pair.indexOf(QLatin1Char('='));
        if (equals < 0)
            refuse(QStringLiteral("not a KEY=VALUE pair: ") + pair);
        const QString key = pair.left(equals);
        const ProfileSetting* setting = ProfileLayout::byKey(key);
        if (!setting)
            refuse(QStringLiteral("unknown setting: ") + key);
        const QString value = unescape(key, pair.mid(equals + 1));
        // Refused here, by its key: the profile's line could not hold it, and the error the
        // scrambling raised later ("OVERFLOW") named no setting.
        if (const qsizetype length = Cp1252::encode(value).size(); length > Scrambler::kMaxLength)
            refuse(QStringLiteral("bad value for %1: %2 characters, more than the %3 a profile "
                                  "line holds")
                       .arg(key)
                       .arg(length)
                       .arg(Scrambler::kMaxLength));
        try {
            ProfileLayout::checkKind(*setting, value);
        } catch (const AppError&) {
            refuse(QStringLiteral("bad value for %1: %2").arg(key, escape(value)));
        }
        lines.insert(setting->line, value);
    }
    return lines;
}

QStringList ProfileListing::write(const QStringList& pairs) {
    QStringList values;
    for (const ProfileSetting& setting : ProfileLayout::settings())
        values.append(ProfileLayout::startText(setting));
    const QMap<int, QString> named = parse(pairs);
    for (auto it = named.cbegin(); it != named.cend(); ++it)
        values[it.key() - 1] = it.value();
    return ProfileLayout::withoutTrailingStartValues(values);
}
