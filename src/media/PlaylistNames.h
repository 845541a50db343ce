#pragma once

#include <QString>

#include "media/Playlist.h"

// The file names of playlist rows must be plain names (PlainFileName): generation joins each to
// its column's folder, and to the output and scratch folders, so "../x.flv" would read and write
// beside them. Playlist files come from other people, so every way in checks the names.
class PlaylistNames {
  public:
    // What is wrong with the first of the first `fields` fields of the row that is not a plain
    // name, as "THE MP4 VIDEO FILE OF ROW 2 IS NOT A PLAIN FILE NAME: IT HOLDS A FOLDER
    // SEPARATOR"; empty when they all are. `row` counts from 1.
    static QString rowFault(const PlaylistEntry& entry, int row, int fields);
    // The grid column of that field, or -1 when the names are plain.
    static int faultyField(const PlaylistEntry& entry, int fields);
    // The same for the first row with a fault, each row with the fields of the layout.
    static QString firstFault(const Playlist& playlist);
};
