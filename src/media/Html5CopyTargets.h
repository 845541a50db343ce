#pragma once

#include <QList>
#include <QString>

#include "convert/Html5Format.h"
#include "media/Html5CopyJob.h"

struct Playlist;
struct SingleVideo;

// Where the HTML5 copies of a selection's Flash videos go.
namespace Html5CopyTargets {

// The copy's file name: the Flash file's name with the copy's extension in place of its own
// ("clip.flv" -> "clip.mp4", "talk.v2.flv" -> "talk.v2.mp4", "clip" -> "clip.mp4").
QString copyName(const QString& flashName, Html5Format format);

// The single video's copy, beside its Flash file; none when no Flash file is chosen.
QList<Html5CopyJob> forSingleVideo(const SingleVideo& video, Html5Format format);

// A copy for every row with a Flash file and no file of the copy's kind. All files of a column
// share one folder, so the copies go to the column's folder when it has one, and beside the
// Flash files otherwise.
QList<Html5CopyJob> missingInPlaylist(const Playlist& playlist, Html5Format format);

}  // namespace Html5CopyTargets
