#pragma once

#include <QDialog>

#include "ui_FrmSplash.h"

class QTimer;

// frmSplash: the product's picture while the program starts. Shown modally; it closes itself
// 2000 ms after it appeared.
class FrmSplash : public QDialog, private Ui::FrmSplashForm {
    Q_OBJECT

  public:
    explicit FrmSplash(QWidget* parent = nullptr);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QTimer* tmrSplash;
};
