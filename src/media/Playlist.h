#pragma once

#include <QList>
#include <QString>

#include "media/CaptionTrack.h"

// One playlist row. Files are names only; their folders are shared by all rows.
struct PlaylistEntry {
    QString FlashFile;
    QString Mp4File;
    QString WebmFile;
    QString Title;
    QString Description;
    QString Thumbnail;
    CaptionTracks Captions{};  // full paths: caption files have no shared folder
};

enum class PlaylistLayout { TitleOnly, TitleDesc, TitleDescThumb };
enum class PlaylistPosition { Right, Bottom, Invisible };

// The columns of the editor's grid and the fields of a row in a playlist file: the three video
// files and the title, then the description and the thumbnail as the layout has them.
constexpr int playlistFieldCount(PlaylistLayout layout) {
    switch (layout) {
        case PlaylistLayout::TitleOnly:
            return 4;
        case PlaylistLayout::TitleDesc:
            return 5;
        case PlaylistLayout::TitleDescThumb:
            return 6;
    }
    return 4;
}

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
