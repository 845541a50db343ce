#include "platform/SaveFileName.h"

#include <QFileInfo>
#include <QStringList>

namespace {

// The suffixes of "desc|*.a;*.b|desc|*.c", in order, without their dots; "*" for any name.
QStringList filterSuffixes(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList suffixes;
    for (qsizetype i = 1; i < parts.size(); i += 2) {
        for (const QString& pattern : parts[i].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString p = pattern.trimmed();
            if (p == QLatin1String("*") || p == QLatin1String("*.*"))
                suffixes.append(QStringLiteral("*"));
            else if (p.startsWith(QLatin1String("*.")))
                suffixes.append(p.mid(2));
        }
    }
    return suffixes;
}

}  // namespace

namespace SaveFileName {

QString withFilterSuffix(const QString& path, const QString& filter) {
    const QString name = QFileInfo(path).fileName();
    const QStringList suffixes = filterSuffixes(filter);
    // A blank name is left for the caller to refuse.
    if (name.trimmed().isEmpty() || suffixes.isEmpty() || suffixes.contains(QStringLiteral("*")))
        return path;
    const QString typed = QFileInfo(path).suffix();
    if (!typed.isEmpty() && suffixes.contains(typed, Qt::CaseInsensitive))
        return path;
    // "prof1." asks for no suffix of its own; it gets the filter's, not a second dot.
    const QString dot = path.endsWith(QLatin1Char('.')) ? QString() : QStringLiteral(".");
    return path + dot + suffixes.first();
}

}  // namespace SaveFileName
