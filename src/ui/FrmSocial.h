#pragma once

#include <QDialog>

class MainController;
class QLineEdit;
class QPushButton;
class SocialDialogModel;

// frmSocial, "Share Video Page on FaceBook and Twitter": the share title and link of the social
// buttons. The boxes edit the model's copies; the settings change only on "Save and E&xit".
class FrmSocial : public QDialog {
    Q_OBJECT

  public:
    explicit FrmSocial(MainController& controller, QWidget* parent = nullptr);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void buildLayout();
    void connectCommands();
    void showModel();

    SocialDialogModel& m_model;

    QLineEdit* txtShareTitle;
    QLineEdit* txtShareURL;
    QPushButton* cmdSave;
    QPushButton* cmdRefresh;
    QPushButton* cmdCancel;
};
