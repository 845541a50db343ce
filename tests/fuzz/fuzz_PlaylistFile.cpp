// Playlist files are passed around between users and sites: any bytes must give a playlist or a
// reported error, never a crash, and a playlist read must be one the editor can save again.
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>

#include "media/PlaylistFile.h"
#include "platform/AppError.h"
#include "platform/TextFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("fuzz.plf"));
    TextFile::writeBytes(path, QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    PlaylistFile::Contents contents;
    try {
        contents = PlaylistFile::read(path);
    } catch (const AppError&) {
        return 0;
    } catch (const PlaylistFileError&) {
        return 0;
    }
    if (contents.rows.isEmpty())
        __builtin_trap();
    Playlist playlist;
    playlist.rows = contents.rows;
    playlist.layout = contents.layout.value_or(PlaylistLayout::TitleDescThumb);
    playlist.position = contents.position.value_or(PlaylistPosition::Right);
    playlist.FLVVideoFilesPath = contents.FLVVideoFilesPath;
    playlist.ThumbImagesPath = contents.ThumbImagesPath;
    try {
        PlaylistFile::fileLines(playlist, contents.html5Files);
    } catch (const PlaylistFileError&) {
        // A value the file cannot store again is refused with a message, which is fine.
    }
    return 0;
}
