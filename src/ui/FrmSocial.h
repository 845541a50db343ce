#pragma once

#include <QDialog>

#include "ui_FrmSocial.h"

class MainController;
class SocialDialogModel;

// frmSocial, "Share Video Page on FaceBook and Twitter": the share title and link of the social
// buttons. The boxes edit the model's copies; the settings change only on "Save and E&xit".
class FrmSocial : public QDialog, private Ui::FrmSocialForm {
    Q_OBJECT

  public:
    explicit FrmSocial(MainController& controller, QWidget* parent = nullptr);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void connectCommands();
    void showModel();

    SocialDialogModel& m_model;
};
