#pragma once

#include <QDialog>

#include "ui_FrmCaptionTracks.h"

class CaptionTracksDialogModel;

// frmCaptionTracks: the caption tracks of one playlist video, their language and label typed in
// the table. Every change goes to the model, which keeps it as the rules allow, and the table
// shows the model again. "&OK" accepts; "&Cancel", Escape and the close box reject.
class FrmCaptionTracks : public QDialog, private Ui::FrmCaptionTracksForm {
    Q_OBJECT

  public:
    FrmCaptionTracks(CaptionTracksDialogModel& model, QWidget* parent = nullptr);

  private:
    void showTracks();

    CaptionTracksDialogModel& m_model;
};
