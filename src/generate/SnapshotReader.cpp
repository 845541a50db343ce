#include "generate/SnapshotReader.h"

#include "appearance/SkinList.h"
#include "generate/GenerationSnapshot.h"
#include "generate/GenerationTag.h"
#include "media/Playlist.h"
#include "platform/Clock.h"
#include "platform/Int16.h"
#include "settings/AdvancedOptions.h"
#include "settings/ProjectSettings.h"

qint16 SnapshotReader::playlistHeight(const GenerationSnapshot& snapshot, const Playlist& playlist,
                                      bool multiple) {
    if (!multiple)
        return 0;
    switch (playlist.position) {
        case PlaylistPosition::Bottom: {
            const qint16 rowHeight = playlist.layout == PlaylistLayout::TitleOnly ? 45 : 75;
            return Int16::multiply(snapshot.ItemsPlaylist, rowHeight);
        }
        case PlaylistPosition::Right:
            return snapshot.PlayerHeight;
        case PlaylistPosition::Invisible:
            return 0;
    }
    return 0;
}

void SnapshotReader::read(GenerationSnapshot& snapshot, const Inputs& in) {
    const ProjectSettings& s = in.settings;
    snapshot.PlayerWidth = in.playerWidth;
    snapshot.PlayerHeight = in.playerHeight;
    if (s.Multiple) {
        snapshot.ItemsPlaylist = Int16::fromText(in.advanced.ItemsPlaylist);
        snapshot.WidthPlaylist = Int16::fromText(in.advanced.WidthPlaylist);
    }
    snapshot.PlaylistHeight = playlistHeight(snapshot, in.playlist, s.Multiple);
    snapshot.SkinAllowance = SkinList::skinAllowance(in.skinName);
    snapshot.BackgroundColor = QStringLiteral("#000000");
    snapshot.PlayListFontSize = Int16::fromText(in.advanced.PlayListFontSize);
    snapshot.ErrorFlash = in.advanced.ErrorFlash;
    snapshot.ErrorHtml5 = in.advanced.ErrorHtml5;
    snapshot.GenerationTag = GenerationTag::fromTime(in.clock.currentTime());
    snapshot.ServerPath = s.ServerPath.trimmed();
    snapshot.VideoPath = s.VideoPath.trimmed();
    snapshot.SkinFile = in.skinName + QStringLiteral(".swf");
    snapshot.SkinUrl = snapshot.ServerPath + snapshot.SkinFile + u'?';
    snapshot.UseHtml5 = s.Html5;
    snapshot.IsRtmp = s.streamingMode == StreamingMode::Rtmp;
    snapshot.IsPseudo = s.streamingMode == StreamingMode::Pseudo;
    snapshot.HasActionCode = !s.ActionCode.trimmed().isEmpty();
}
