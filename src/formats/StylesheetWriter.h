#pragma once

#include <QString>
#include <QtGlobal>

#include "media/Playlist.h"
#include "platform/OutputFile.h"

// Makes zevostyle.css, which lays out the HTML5 playlist player: the video container, the list
// beside it (Right), below it (Bottom) or hidden (Invisible), and the list items.
class StylesheetWriter {
  public:
    // What the stylesheet depends on.
    struct Input {
        QString outputFolder{};  // ends in the folder separator
        PlaylistPosition position = PlaylistPosition::Invisible;
        bool fluidSize = false;
        qint16 playerWidth = 0;
        qint16 playerHeight = 0;
        qint16 playlistHeight = 0;  // of a list below the player
        qint16 widthPlaylist = 0;   // the share of a list beside the player, border included
        qint16 fontSize = 0;        // of the list's items
    };

    // The stylesheet as one line; it replaces an earlier zevostyle.css.
    static OutputFile playerStylesheet(const Input& in);

    // The whole stylesheet, without its line end.
    static QString text(const Input& in);
};
