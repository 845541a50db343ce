#include "formats/PlayerBox.h"

#include "platform/Int16.h"

PlayerBox PlayerBox::of(const Parts& p) {
    const qint16 playerHeight = Int16::add(p.skinAllowance, p.playerHeight);
    if (!p.playlist)
        return {p.playerWidth, playerHeight};
    switch (p.position) {
        case PlaylistPosition::Right:
            return {Int16::add(p.playerWidth, p.widthPlaylist), playerHeight};
        case PlaylistPosition::Bottom:
            return {p.playerWidth, Int16::add(playerHeight, p.playlistHeight)};
        case PlaylistPosition::Invisible:
            break;
    }
    return {p.playerWidth, playerHeight};
}
