#include "settings/PlayerSizesFile.h"

#include <QRegularExpression>

#include "platform/AppError.h"
#include "platform/Cp1252.h"
#include "platform/FileOps.h"
#include "platform/TextFile.h"

QString PlayerSizesFile::path(const QString& configFolder) {
    return FileOps::withTrailingSeparator(configFolder) + QStringLiteral("configvws.txt");
}

QStringList PlayerSizesFile::readEntries(const QString& configFolder) {
    const QString file = path(configFolder);
    QStringList entries;
    for (const QString& line : TextFile::readLines(file)) {
        if (!line.isEmpty())
            entries.append(line);
    }
    if (entries.isEmpty())
        throw AppError(AppError::SubscriptOutOfRange, file);
    return entries;
}

QString PlayerSizesFile::readText(const QString& configFolder) {
    return TextFile::readAll(path(configFolder));
}

void PlayerSizesFile::writeText(const QString& configFolder, const QString& text) {
    // An edit box may hand over bare LF (or CR) line breaks; the file keeps CR LF throughout.
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    QString normalised = text;
    normalised.replace(lineBreak, QStringLiteral("\r\n"));
    TextFile::writeBytesAtomically(path(configFolder),
                                   Cp1252::encode(normalised + QStringLiteral("\r\n")));
}
