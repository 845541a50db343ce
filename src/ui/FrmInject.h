#pragma once

#include <QDialog>
#include <QStringDecoder>

class Dialogs;
class QByteArray;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QTimer;

// frmInject: runs the metadata injector for one video and shows what it prints while it works.
// A failure to start it is reported (through `dialogs` when given) and the run goes on.
class FrmInject : public QDialog {
    Q_OBJECT

  public:
    explicit FrmInject(QWidget* parent = nullptr, Dialogs* dialogs = nullptr);

    // Shows the window modally, runs `commandLine` and hides the window when the program has
    // finished; returns then.
    void run(const QString& commandLine);

  protected:
    // The window cannot be closed while the injector is still working on the file.
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

  private:
    void buildLayout();
    void append(const QByteArray& output);
    void scrollToEnd();  // Timer1

    Dialogs* m_dialogs;
    bool m_running = false;
    // The injector writes the system's encoding (file names in UTF-8 here); a character may be
    // split between two pieces of output, so the decoder keeps its state across them.
    QStringDecoder m_decoder{QStringDecoder::System};

    QGroupBox* Frame1;
    QLabel* lblMessage;
    QPlainTextEdit* txtDOS;
    QTimer* Timer1;
};
