#pragma once

#include <QDialog>
#include <atomic>

#include "convert/Html5Copy.h"
#include "ui_FrmHtml5Copies.h"

class Html5CopyBatch;

// frmHtml5Copies: the progress of the HTML5 copies a video window makes, with Cancel. The copies
// are made on a worker thread while the window stays responsive; progress comes back to it with
// queued calls, and Cancel reaches the worker as the progress callback's answer.
class FrmHtml5Copies : public QDialog, private Ui::FrmHtml5CopiesForm {
    Q_OBJECT

  public:
    explicit FrmHtml5Copies(QWidget* parent = nullptr);

    // Shows the window (modal) until the batch's copies are made or cancelled. `what` names the
    // files in the window's heading.
    void run(Html5CopyBatch& batch, const QString& what);

  protected:
    // Closing the window, or Escape, is the same as Cancel: the copy under way must end in order.
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

  private:
    void showProgress(const CopyProgress& progress);
    void cancel();  // cmdCancel

    std::atomic<bool> m_cancelled{false};
    bool m_running = false;
};
