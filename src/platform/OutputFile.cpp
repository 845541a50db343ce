#include "platform/OutputFile.h"

#include <QFileInfo>

#include "platform/FileOps.h"
#include "platform/TextFile.h"

OutputFile OutputFile::ofLines(const QString& path, const QStringList& lines,
                               const QString& replaces) {
    return {path, TextFile::encodeLines(lines), replaces};
}

void OutputFile::write(const OutputFile& file) {
    if (!file.replaces.isEmpty())
        FileOps::deleteMatching(QFileInfo(file.path).path(), file.replaces);
    FileOps::writeFile(file.path, file.content);
}

void OutputFile::writeAll(const QList<OutputFile>& files) {
    for (const OutputFile& file : files)
        write(file);
}
