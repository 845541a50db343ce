#pragma once

#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;

// frmAbout: the product, its version and the links to its home, support and contact pages.
class FrmAbout : public QDialog {
    Q_OBJECT

  public:
    // `open` opens a link's page (and says when nothing could); by default the desktop's opener.
    explicit FrmAbout(QWidget* parent = nullptr, std::function<void(const QString&)> open = {});

  private:
    std::function<void(const QString&)> m_open;

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
