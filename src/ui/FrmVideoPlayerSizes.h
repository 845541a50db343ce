#pragma once

#include <QDialog>

#include "models/PlayerSizesDialogModel.h"
#include "ui_FrmVideoPlayerSizes.h"

class MainController;

// frmVideoPlayerSizes, "Video Player Sizes": the sizes file as one editable text. Saving keeps the
// dialog open; the main window reads the size list again once the dialog has closed.
class FrmVideoPlayerSizes : public QDialog, private Ui::FrmVideoPlayerSizesForm {
    Q_OBJECT

  public:
    explicit FrmVideoPlayerSizes(MainController& controller, QWidget* parent = nullptr);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    PlayerSizesDialogModel m_editor;
};
