#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QStringDecoder>

#include "platform/FileWorkPlan.h"
#include "ui_FrmFileWork.h"

class Dialogs;
class QByteArray;
class QTimer;

// frmFileWork: the one window of a run's file work. It shows the file and the step under way,
// the bytes done of all, an overall bar and the time left, and what the metadata injector
// prints; Cancel asks the run to stop. The run drives it through `progress` and `runInjection`,
// whose answers tell it whether to go on.
class FrmFileWork : public QDialog, private Ui::FrmFileWorkForm {
    Q_OBJECT

  public:
    explicit FrmFileWork(QWidget* parent = nullptr, Dialogs* dialogs = nullptr);

    // Shows the window (modal) for the work of `plan`.
    void begin(const FileWorkPlan& plan);
    // Shows step `index` at `done` of `total` bytes and lets the window react; false once the
    // user has pressed Cancel.
    bool progress(int index, qint64 done, qint64 total);
    // Runs the injector for step `index`, its output shown as it comes; ends it when the user
    // presses Cancel meanwhile, and then answers false. A failure to start it is reported
    // (through `dialogs` when given) and the work goes on.
    bool runInjection(int index, const QString& commandLine);
    // Everything the injector printed during this work.
    QString injectorOutput() const;
    bool cancelled() const { return m_cancelled; }

  protected:
    // Closing the window, or Escape, is the same as Cancel: the work must end in order.
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

  private:
    void cancel();  // cmdCancel
    void showStep(int index, qint64 done, qint64 total);
    void append(const QByteArray& output);
    void scrollToEnd();  // Timer1

    Dialogs* m_dialogs;
    FileWorkPlan m_plan;
    QElapsedTimer m_clock;
    bool m_cancelled = false;
    // The injector writes the system's encoding (file names in UTF-8 here); a character may be
    // split between two pieces of output, so the decoder keeps its state across them.
    QStringDecoder m_decoder{QStringDecoder::System};

    QTimer* Timer1;
};
