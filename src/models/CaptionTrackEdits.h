#pragma once

#include <QString>

#include "media/CaptionTrack.h"

// What a typed language or label may hold. Both go into the configuration file's `cc` attribute
// and the pages' <track> elements, so control characters are dropped as they are typed; an
// index that names no track changes nothing.
namespace CaptionTrackEdits {

void setLanguage(CaptionTracks& tracks, int index, const QString& language);
void setLabel(CaptionTracks& tracks, int index, const QString& label);

}  // namespace CaptionTrackEdits
