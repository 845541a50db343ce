#pragma once

#include <QDialog>

#include "models/PlayerSizesDialogModel.h"

class MainController;
class QPlainTextEdit;
class QPushButton;

// frmVideoPlayerSizes, "Video Player Sizes": the sizes file as one editable text. Saving keeps the
// dialog open; the main window reads the size list again once the dialog has closed.
class FrmVideoPlayerSizes : public QDialog {
    Q_OBJECT

  public:
    explicit FrmVideoPlayerSizes(MainController& controller, QWidget* parent = nullptr);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void buildLayout();

    PlayerSizesDialogModel m_editor;

    QPlainTextEdit* txtVideoWindowSizes;
    QPushButton* cmdSave;
    QPushButton* cmdCancel;
};
