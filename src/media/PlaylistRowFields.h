#pragma once

#include "media/Playlist.h"

// The fields of a playlist row in the order of the grid's columns and of a playlist file's row
// line, with the names the user knows them by.
struct PlaylistRowField {
    QString PlaylistEntry::*field;
    const char* name;
    bool fileName;  // joined to its column's folder when a playlist is generated
};

inline constexpr PlaylistRowField kPlaylistRowFields[] = {
    {&PlaylistEntry::FlashFile, "FLV/Mp4 video file", true},
    {&PlaylistEntry::Mp4File, "Mp4 video file", true},
    {&PlaylistEntry::WebmFile, "WebM video file", true},
    {&PlaylistEntry::Title, "title", false},
    {&PlaylistEntry::Description, "description", false},
    {&PlaylistEntry::Thumbnail, "thumbnail image", true},
};
