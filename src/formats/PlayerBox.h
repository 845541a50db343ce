#pragma once

#include <QtGlobal>

#include "media/Playlist.h"

// The player's box on the page, as the SWFObject line of the Flash embed script and of the local
// test page give it: a list at the right widens it, a list at the bottom heightens it. 16-bit sums;
// overflow raises error 6.
struct PlayerBox {
    qint16 width;
    qint16 height;

    // What the box is made of.
    struct Parts {
        qint16 playerWidth = 0;
        qint16 playerHeight = 0;
        qint16 skinAllowance = 0;
        bool playlist = false;  // a single video ignores where the playlist editor was left
        PlaylistPosition position = PlaylistPosition::Invisible;
        qint16 widthPlaylist = 0;
        qint16 playlistHeight = 0;
    };

    static PlayerBox of(const Parts& parts);
};
