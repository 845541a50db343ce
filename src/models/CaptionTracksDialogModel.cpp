#include "models/CaptionTracksDialogModel.h"

#include <utility>

#include "models/CaptionTrackEdits.h"

CaptionTracksDialogModel::CaptionTracksDialogModel(const QString& videoName, CaptionTracks tracks)
    : m_caption(QStringLiteral("Caption Languages and Labels of \"%1\"").arg(videoName)),
      m_tracks(std::move(tracks)) {}

void CaptionTracksDialogModel::setLanguage(int index, const QString& language) {
    CaptionTrackEdits::setLanguage(m_tracks, index, language);
}

void CaptionTracksDialogModel::setLabel(int index, const QString& label) {
    CaptionTrackEdits::setLabel(m_tracks, index, label);
}
