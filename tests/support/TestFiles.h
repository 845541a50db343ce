#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

// Helpers shared by the tests: golden files, byte-exact comparison with a readable diff.
namespace TestFiles {

// tests/golden/<name>
QString goldenPath(const QString& name);
QByteArray readGolden(const QString& name);
QByteArray readFile(const QString& path);
// Empty when equal; otherwise the first differing line of both, with its number.
QString firstDifference(const QByteArray& actual, const QByteArray& expected);
// Lines joined with CR LF, each line ended.
QByteArray crlf(const QStringList& lines);
// Every file below `folder` (hidden ones too, in every subfolder) with its contents: two equal
// maps mean nothing there was written, added or removed.
QMap<QString, QByteArray> filesBelow(const QString& folder);

}  // namespace TestFiles

// QVERIFY2-friendly byte comparison of a generated file with a golden file.
#define COMPARE_GOLDEN(actualBytes, goldenName)                                                 \
    do {                                                                                        \
        const QString diff_ =                                                                   \
            TestFiles::firstDifference((actualBytes), TestFiles::readGolden(goldenName));       \
        QVERIFY2(diff_.isEmpty(), qPrintable(QStringLiteral("%1: %2").arg(goldenName, diff_))); \
    } while (false)
