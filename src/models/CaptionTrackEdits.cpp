#include "models/CaptionTrackEdits.h"

#include "platform/ControlCharacters.h"

namespace {

QString withoutControls(QString text) {
    text.removeIf([](QChar c) { return ControlCharacters::isControl(c); });
    return text;
}

bool holds(const CaptionTracks& tracks, int index) {
    return index >= 0 && index < tracks.size();
}

}  // namespace

void CaptionTrackEdits::setLanguage(CaptionTracks& tracks, int index, const QString& language) {
    if (holds(tracks, index))
        tracks[index].language = withoutControls(language);
}

void CaptionTrackEdits::setLabel(CaptionTracks& tracks, int index, const QString& label) {
    if (holds(tracks, index))
        tracks[index].label = withoutControls(label);
}
