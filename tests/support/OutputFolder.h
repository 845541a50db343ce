#pragma once

#include <QDir>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "platform/FileOps.h"

// A fresh folder for a writer's files, removed with the test.
struct OutputFolder {
    QTemporaryDir outDir;

    // As the writers get it: ending in the folder separator.
    QString outputFolder() const { return outDir.path() + FileOps::separator(); }
    QString outFile(const QString& name) const { return outDir.filePath(name); }
    QStringList files() const { return QDir(outDir.path()).entryList(QDir::Files, QDir::Name); }
};
