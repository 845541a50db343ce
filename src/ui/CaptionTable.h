#pragma once

#include <QTableWidget>

#include "media/CaptionTrack.h"

// grdCaptions: a video's caption tracks, one line each: the file as chosen (its name, with the
// whole path as tool tip), then its language and label, both typed in place. A typed value is
// only reported; the owner's model keeps it and the owner shows the tracks again.
class CaptionTable : public QTableWidget {
    Q_OBJECT
    // High enough for this many lines; more scroll.
    Q_PROPERTY(int visibleTracks READ visibleTracks WRITE setVisibleTracks)

  public:
    explicit CaptionTable(QWidget* parent = nullptr, int visibleTracks = 2);

    int visibleTracks() const { return m_visibleTracks; }
    void setVisibleTracks(int tracks);

    // Keeps the current line where the tracks still have it.
    void showTracks(const CaptionTracks& tracks);

  signals:
    void languageEdited(int index, const QString& language);
    void labelEdited(int index, const QString& label);

  private:
    void edited(QTableWidgetItem* item);

    int m_visibleTracks = 0;
};
