// vidlark-completion TEMPLATE OUTPUT: writes the bash completion of vidlark-cli from its
// template, with the setting keys of the profile's table in place of @SETTING_KEYS@, so a new
// setting completes as soon as it has its row.
#include <QFile>
#include <QStringList>
#include <cstdio>

#include "settings/ProfileLayout.h"

namespace {

QString settingKeys() {
    QStringList keys;
    for (const ProfileSetting& setting : ProfileLayout::settings())
        keys.append(QLatin1String(setting.key));
    return keys.join(QLatin1Char(' '));
}

int fail(const QString& text) {
    std::fprintf(stderr, "vidlark-completion: %s\n", qUtf8Printable(text));
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3)
        return fail(QStringLiteral("usage: vidlark-completion TEMPLATE OUTPUT"));
    QFile in(QString::fromLocal8Bit(argv[1]));
    if (!in.open(QIODevice::ReadOnly))
        return fail(in.fileName() + QStringLiteral(": ") + in.errorString());
    QString script = QString::fromUtf8(in.readAll());
    const QString placeholder = QStringLiteral("@SETTING_KEYS@");
    if (!script.contains(placeholder))
        return fail(in.fileName() + QStringLiteral(": no ") + placeholder);
    script.replace(placeholder, settingKeys());
    QFile out(QString::fromLocal8Bit(argv[2]));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(script.toUtf8()) < 0 ||
        !out.flush())
        return fail(out.fileName() + QStringLiteral(": ") + out.errorString());
    return 0;
}
