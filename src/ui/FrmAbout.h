#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// frmAbout: the product, its version and the links to its home, support and contact pages.
class FrmAbout : public QDialog {
    Q_OBJECT

  public:
    explicit FrmAbout(QWidget* parent = nullptr);

  private:
    QLabel* link(const QString& name, const QString& address, const QString& tip);

    QLabel* imgAbout;
    QLabel* lblUses;
    QLabel* lblWebsite;
    QLabel* lblVidlark;
    QLabel* lblSupport;
    QLabel* lblVidlarkSupport;
    QLabel* lblOther;
    QLabel* lblVidlarkContact;
    QPushButton* cmdClose;
};
