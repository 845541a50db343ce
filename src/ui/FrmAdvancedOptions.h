#pragma once

#include <QDialog>

#include "ui/DialogScopedViews.h"
#include "ui_FrmAdvancedOptions.h"

struct AdvancedOptions;
class MainController;

// frmAdvancedOptions, "Advanced Options...": the seven options of the configuration file. The boxes
// edit the controller's options directly, because generation uses the values in force in this
// dialog, saved or not: "&Cancel" and the close box only hide it, the edits stay.
class FrmAdvancedOptions : public QDialog, private Ui::FrmAdvancedOptionsForm {
    Q_OBJECT

  public:
    explicit FrmAdvancedOptions(MainController& controller, QWidget* parent = nullptr);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void connectEdits();
    void showOptions();
    void save();

    MainController& m_controller;
    AdvancedOptions& m_options;
    DialogScopedViews m_views;
};
