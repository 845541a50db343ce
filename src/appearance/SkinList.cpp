#include "appearance/SkinList.h"

#include <QDir>

#include "platform/FileOps.h"
#include "platform/Int16.h"

namespace {

const QString SkinExtension = QStringLiteral(".swf");

}  // namespace

QStringList SkinList::list(const QString& dataFolder) {
    const QDir swfs(dataFolder + FileOps::separator() + QStringLiteral("swfs"));
    const QStringList files = swfs.entryList({QLatin1Char('*') + SkinExtension}, QDir::Files,
                                             QDir::Name | QDir::IgnoreCase);
    QStringList names;
    for (const QString& file : files)
        names.append(file.chopped(SkinExtension.size()));
    return names;
}

qint16 SkinList::skinAllowance(const QString& name) {
    return Int16::fromText(name.mid(5, 2));
}

bool SkinList::isDark(const QString& name) {
    return name.contains(QStringLiteral("dark"), Qt::CaseSensitive);
}

bool SkinList::isFloat(const QString& name) {
    return name.contains(QStringLiteral("float"), Qt::CaseSensitive);
}
