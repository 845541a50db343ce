#pragma once

#include <QDialog>

#include "ui/DialogScopedViews.h"

struct AdvancedOptions;
class MainController;
class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// frmAdvancedOptions, "Advanced Options...": the seven options of the configuration file. The boxes
// edit the controller's options directly, because generation uses the values in force in this
// dialog, saved or not: "&Cancel" and the close box only hide it, the edits stay.
class FrmAdvancedOptions : public QDialog {
    Q_OBJECT

  public:
    explicit FrmAdvancedOptions(MainController& controller, QWidget* parent = nullptr);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void buildLayout();
    void connectEdits();
    void showOptions();
    void save();

    MainController& m_controller;
    AdvancedOptions& m_options;
    DialogScopedViews m_views;

    QLineEdit* txtVideoBuffer;
    QCheckBox* chkHideControlsFloatingBar;
    QLineEdit* txtItemsPlaylist;
    QLineEdit* txtWidthPlaylist;
    QLineEdit* txtPlayListFontSize;
    QPlainTextEdit* txtErrorFlash;
    QPlainTextEdit* txtErrorHtml5;
    QPushButton* cmdSave;
    QPushButton* cmdCancel;
};
