#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// One file of a generation run, made whole before anything is written: where it goes, its bytes,
// and the wildcard of the earlier runs' files it replaces in its folder. Those are deleted just
// before it is written, so the folder holds only this run's file of that kind.
struct OutputFile {
    QString path;
    QByteArray content;
    QString replaces;  // empty when nothing goes first

    // Windows-1252 lines, each followed by CR LF.
    static OutputFile ofLines(const QString& path, const QStringList& lines,
                              const QString& replaces = {});

    // Beside its target and renamed over it, as the copies are (FileOps::writeFile): a link at
    // the path is replaced, not written through, and a full disk leaves the older file whole.
    // `files` in their order.
    static void write(const OutputFile& file);
    static void writeAll(const QList<OutputFile>& files);
};
