#pragma once

#include <QList>
#include <QString>

// One playlist row. Files are names only; their folders are shared by all rows.
struct PlaylistEntry {
    QString FlashFile;
    QString Mp4File;
    QString WebmFile;
    QString Title;
    QString Description;
    QString Thumbnail;
};

enum class PlaylistLayout { TitleOnly, TitleDesc, TitleDescThumb };
enum class PlaylistPosition { Right, Bottom, Invisible };

// What generation reads of the playlist editor.
struct Playlist {
    QList<PlaylistEntry> rows{PlaylistEntry{}};  // a fresh editor has one empty row
    PlaylistLayout layout = PlaylistLayout::TitleOnly;
    PlaylistPosition position = PlaylistPosition::Right;
    QString FLVVideoFilesPath;
    QString Mp4VideoFilesPath;
    QString WebMVideoFilesPath;
    QString ThumbImagesPath;
};
