#include "generate/ScratchCopies.h"

#include <QDir>
#include <QFile>
#include <algorithm>

#include "generate/InputGuard.h"
#include "platform/FileOps.h"
#include "platform/ScratchFolder.h"

bool ScratchCopies::isVideoName(const QString& name) {
    static const QStringList suffixes{QStringLiteral(".flv"), QStringLiteral(".f4v"),
                                      QStringLiteral(".mp4"), QStringLiteral(".m4v"),
                                      QStringLiteral(".webm")};
    for (const QString& suffix : suffixes)
        if (name.endsWith(suffix, Qt::CaseInsensitive))
            return true;
    return false;
}

namespace {

// The run's inputs, and every video the user chose even where this run does not read it (an Mp4
// file while HTML5 is off): none of them is a copy.
QStringList chosenFiles(const GenerationContext& ctx) {
    QStringList files = InputGuard::inputPaths(ctx);
    const SingleVideo& single = ctx.single;
    files << single.FlvVideoFilePath << single.Mp4VideoFilePath << single.WebmVideoFilePath;
    const Playlist& playlist = ctx.playlist;
    for (const PlaylistEntry& row : playlist.rows)
        files << playlist.FLVVideoFilesPath + row.FlashFile
              << playlist.Mp4VideoFilesPath + row.Mp4File
              << playlist.WebMVideoFilesPath + row.WebmFile;
    files.removeAll(QString());
    return files;
}

}  // namespace

void ScratchCopies::removeEarlier(const GenerationContext& ctx) {
    const QDir scratch(ScratchFolder::path(ctx.paths));
    const QStringList inputs = chosenFiles(ctx);
    const QStringList names =
        scratch.entryList(QDir::Files | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString& name : names) {
        if (!isVideoName(name))
            continue;
        const QString path = scratch.filePath(name);
        const bool isInput =
            std::any_of(inputs.cbegin(), inputs.cend(),
                        [&path](const QString& in) { return FileOps::sameFile(in, path); });
        if (!isInput)
            QFile::remove(path);  // a link goes, never what it points to
    }
}
