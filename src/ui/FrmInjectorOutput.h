#pragma once

#include <QDialog>

#include "ui_FrmInjectorOutput.h"

// frmInjectorOutput, "Metadata injection": what the metadata injector printed during a run, in a
// window of its own so the code window behind it stays as it is.
class FrmInjectorOutput : public QDialog, private Ui::FrmInjectorOutputForm {
    Q_OBJECT

  public:
    explicit FrmInjectorOutput(const QString& output, QWidget* parent = nullptr);
};
