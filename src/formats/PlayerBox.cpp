#include "formats/PlayerBox.h"

#include "formats/GenerationContext.h"
#include "platform/Int16.h"

PlayerBox PlayerBox::of(const GenerationContext& ctx) {
    const GenerationSnapshot& s = ctx.snapshot;
    const qint16 playerHeight = Int16::add(s.SkinAllowance, s.PlayerHeight);
    if (!ctx.isPlaylist())
        return {s.PlayerWidth, playerHeight};
    switch (ctx.playlist.position) {
        case PlaylistPosition::Right:
            return {Int16::add(s.PlayerWidth, s.WidthPlaylist), playerHeight};
        case PlaylistPosition::Bottom:
            return {s.PlayerWidth, Int16::add(playerHeight, s.PlaylistHeight)};
        case PlaylistPosition::Invisible:
            break;
    }
    return {s.PlayerWidth, playerHeight};
}
