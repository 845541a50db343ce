#include "media/Html5CopyTargets.h"

#include "media/Playlist.h"
#include "media/SingleVideo.h"
#include "platform/FileOps.h"

namespace Html5CopyTargets {

QString copyName(const QString& flashName, Html5Format format) {
    const qsizetype dot = flashName.lastIndexOf(QLatin1Char('.'));
    // A leading dot starts a hidden file's name, not its extension.
    const QString base = dot > 0 ? flashName.left(dot) : flashName;
    return base + (format == Html5Format::WebM ? QStringLiteral(".webm") : QStringLiteral(".mp4"));
}

QList<Html5CopyJob> forSingleVideo(const SingleVideo& video, Html5Format format) {
    if (video.FlvVideoFileName.isEmpty())
        return {};
    return {{video.FlvVideoFilePath,
             video.FlvVideoFilePathOnly + copyName(video.FlvVideoFileName, format), -1}};
}

QList<Html5CopyJob> missingInPlaylist(const Playlist& playlist, Html5Format format) {
    const bool webm = format == Html5Format::WebM;
    const QString& copyFolder = webm ? playlist.WebMVideoFilesPath : playlist.Mp4VideoFilesPath;
    const QString flashFolder = FileOps::withTrailingSeparator(playlist.FLVVideoFilesPath);
    const QString folder =
        copyFolder.isEmpty() ? flashFolder : FileOps::withTrailingSeparator(copyFolder);
    QList<Html5CopyJob> jobs;
    for (int row = 0; row < playlist.rows.size(); ++row) {
        const PlaylistEntry& entry = playlist.rows[row];
        const QString& present = webm ? entry.WebmFile : entry.Mp4File;
        if (!entry.FlashFile.isEmpty() && present.isEmpty())
            jobs.append(
                {flashFolder + entry.FlashFile, folder + copyName(entry.FlashFile, format), row});
    }
    return jobs;
}

}  // namespace Html5CopyTargets
