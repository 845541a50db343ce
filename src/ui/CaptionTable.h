#pragma once

#include <QTableWidget>

#include "media/CaptionTrack.h"

// grdCaptions: a video's caption tracks, one line each: the file as chosen (its name, with the
// whole path as tool tip), then its language and label, both typed in place. A typed value is
// only reported; the owner's model keeps it and the owner shows the tracks again.
class CaptionTable : public QTableWidget {
    Q_OBJECT

  public:
    // High enough for `visibleTracks` lines; more scroll.
    CaptionTable(QWidget* parent, int visibleTracks);

    // Keeps the current line where the tracks still have it.
    void showTracks(const CaptionTracks& tracks);

  signals:
    void languageEdited(int index, const QString& language);
    void labelEdited(int index, const QString& label);

  private:
    void edited(QTableWidgetItem* item);
};
