#pragma once

#include <QString>

#include "media/CaptionTrack.h"
#include "media/Playlist.h"
#include "media/SingleVideo.h"

// The caption tracks of a video as the players read them: the `cc` attribute of its line in the
// configuration file, "address|language|label" per track, the tracks joined by "|" too, the
// first track the default one. Each field has "%" written as "%25" and "|" as "%7C" (the
// address is also percent-encoded as a file name at the end of an address), so a field never
// holds the separator and the players decode exactly these two.
namespace CaptionsAttribute {

// The name of a caption file in the output folder: its own name with the suffix ".vtt"
// ("clip.en.srt" gives "clip.en.vtt").
QString outputName(const QString& sourcePath);
// The attribute's value before the XML escaping, each address `folder` + the output name.
QString value(const CaptionTracks& tracks, const QString& folder);
// Whether any video of the run has caption tracks: only then do the HTML5 scripts build tracks.
// A playlist run plays the rows, any other run the single video.
bool anyTracks(bool isPlaylist, const SingleVideo& single, const Playlist& playlist);
// The HTML5 scripts' function cT<tag>(video, cc), which appends a <track kind="captions"> per
// track of a `cc` value (the first one default), and its decoder dC<tag>.
QString trackFunctions(const QString& tag);

}  // namespace CaptionsAttribute
