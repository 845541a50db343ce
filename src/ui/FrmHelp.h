#pragma once

#include <QDialog>

#include "ui_FrmHelp.h"

// frmHelp, "Quick Help": the text of one help topic (1 HTML files path, 2 video files path,
// 3 video files; any other number shows nothing).
class FrmHelp : public QDialog, private Ui::FrmHelpForm {
    Q_OBJECT

  public:
    explicit FrmHelp(int topic, QWidget* parent = nullptr);
};
