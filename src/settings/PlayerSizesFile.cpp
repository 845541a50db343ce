#include "settings/PlayerSizesFile.h"

#include <QRegularExpression>

#include "platform/AppError.h"
#include "platform/Cp1252.h"
#include "platform/FileOps.h"
#include "platform/TextFile.h"

QString PlayerSizesFile::path(const QString& appFolder) {
    return FileOps::withTrailingSeparator(appFolder) + QStringLiteral("config") +
           FileOps::separator() + QStringLiteral("configvws.txt");
}

QStringList PlayerSizesFile::readEntries(const QString& appFolder) {
    const QString file = path(appFolder);
    QStringList entries;
    for (const QString& line : TextFile::readLines(file)) {
        if (!line.isEmpty())
            entries.append(line);
    }
    if (entries.isEmpty())
        throw AppError(AppError::SubscriptOutOfRange, file);
    return entries;
}

QString PlayerSizesFile::readText(const QString& appFolder) {
    return TextFile::readAll(path(appFolder));
}

void PlayerSizesFile::writeText(const QString& appFolder, const QString& text) {
    // An edit box may hand over bare LF (or CR) line breaks; the file keeps CR LF throughout.
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    QString normalised = text;
    normalised.replace(lineBreak, QStringLiteral("\r\n"));
    TextFile::writeBytesAtomically(path(appFolder),
                                   Cp1252::encode(normalised + QStringLiteral("\r\n")));
}
