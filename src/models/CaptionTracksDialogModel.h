#pragma once

#include <QString>

#include "media/CaptionTrack.h"

// frmCaptionTracks without its widgets: the caption tracks of one playlist video, whose language
// and label are typed in place. The dialog works on a copy, so Cancel leaves the row as it was;
// the files themselves are added and removed by the row menu.
class CaptionTracksDialogModel {
  public:
    CaptionTracksDialogModel(const QString& videoName, CaptionTracks tracks);

    QString caption() const { return m_caption; }
    const CaptionTracks& tracks() const { return m_tracks; }
    void setLanguage(int index, const QString& language);
    void setLabel(int index, const QString& label);

  private:
    QString m_caption;
    CaptionTracks m_tracks;
};
