#include "TestFiles.h"

#include <QDirIterator>
#include <QFile>

namespace TestFiles {

QString goldenPath(const QString& name) {
    return QStringLiteral(VIDLARK_TEST_DATA) + QStringLiteral("/golden/") + name;
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<missing file ") + path.toUtf8() + ">";
    return file.readAll();
}

QByteArray readGolden(const QString& name) {
    return readFile(goldenPath(name));
}

QString firstDifference(const QByteArray& actual, const QByteArray& expected) {
    if (actual == expected)
        return {};
    const QList<QByteArray> a = actual.split('\n');
    const QList<QByteArray> e = expected.split('\n');
    for (qsizetype i = 0; i < qMax(a.size(), e.size()); ++i) {
        const QByteArray al = i < a.size() ? a[i] : QByteArray("<end of file>");
        const QByteArray el = i < e.size() ? e[i] : QByteArray("<end of file>");
        if (al != el)
            return QStringLiteral("line %1 differs\n  actual:   %2\n  expected: %3")
                .arg(i + 1)
                .arg(QString::fromLatin1(al.toPercentEncoding(" <>\"'=/:;(){}[]!?.,+-*#&|\\$%_")),
                     QString::fromLatin1(el.toPercentEncoding(" <>\"'=/:;(){}[]!?.,+-*#&|\\$%_")));
    }
    return QStringLiteral("sizes differ: %1 vs %2").arg(actual.size()).arg(expected.size());
}

QByteArray crlf(const QStringList& lines) {
    QByteArray out;
    for (const QString& line : lines)
        out += line.toLatin1() + "\r\n";
    return out;
}

QMap<QString, QByteArray> filesBelow(const QString& folder) {
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(path, readFile(path));
    }
    return files;
}

}  // namespace TestFiles
