#pragma once

#include <QDialog>

class QLabel;
class QTimer;

// frmSplash: the product's picture while the program starts. Shown modally; it closes itself
// 2000 ms after it appeared.
class FrmSplash : public QDialog {
    Q_OBJECT

  public:
    explicit FrmSplash(QWidget* parent = nullptr);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QLabel* imgSplash;
    QTimer* tmrSplash;
};
