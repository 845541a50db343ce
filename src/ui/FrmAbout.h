#pragma once

#include <QDialog>
#include <functional>

#include "ui_FrmAbout.h"

// frmAbout: the product, its version and the links to its home, support and contact pages.
class FrmAbout : public QDialog, private Ui::FrmAboutForm {
    Q_OBJECT

  public:
    // `open` opens a link's page (and says when nothing could); by default the desktop's opener.
    explicit FrmAbout(QWidget* parent = nullptr, std::function<void(const QString&)> open = {});

  private:
    void showLink(QLabel* link, const QString& address);

    std::function<void(const QString&)> m_open;
};
