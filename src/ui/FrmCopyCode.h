#pragma once

#include <QDialog>

#include "ui_FrmCopyCode.h"

class MainController;

// frmCopyCode, "Output HTML Code and Instructions": the result of a generation run. The user copies
// the embed code, opens the output folder or tries the local test page from here.
class FrmCopyCode : public QDialog, private Ui::FrmCopyCodeForm {
    Q_OBJECT

  public:
    explicit FrmCopyCode(MainController& controller, QWidget* parent = nullptr);

    void setTexts(const QString& embedCode, const QString& instructions);
    // What the metadata injector printed during the run, behind cmdDetails; none disables it.
    void setInjectorOutput(const QString& output);

  private:
    void copyCode();     // cmdCopyCode
    void openOutput();   // cmdSaveCodeInst
    void testOffline();  // cmdTest
    void showDetails();  // cmdDetails

    MainController& m_controller;
    QString m_embedCode;
    QString m_injectorOutput;
};
