#include "ui/FrmHtml5Copies.h"

#include <QCloseEvent>
#include <cmath>
#include <thread>

#include "media/Html5CopyBatch.h"

namespace {

QString timeLeftText(const std::optional<double>& seconds) {
    if (!seconds)
        return QStringLiteral("Time left: estimating...");
    const long whole = std::lround(*seconds);
    if (whole < 60)
        return QStringLiteral("Time left: about %1 s").arg(whole);
    return QStringLiteral("Time left: about %1 min %2 s").arg(whole / 60).arg(whole % 60);
}

}  // namespace

FrmHtml5Copies::FrmHtml5Copies(QWidget* parent) : QDialog(parent) {
    setupUi(this);
    lblTimeLeft->setText(timeLeftText({}));
    // As high as the lines need in the style in use; the width is the form's.
    resize(width(), sizeHint().height());
    connect(cmdCancel, &QPushButton::clicked, this, &FrmHtml5Copies::cancel);
}

void FrmHtml5Copies::run(Html5CopyBatch& batch, const QString& what) {
    m_cancelled = false;
    m_running = true;
    lblFile->setText(QStringLiteral("Making HTML5 copies of ") + what);
    prgCopy->setValue(0);
    lblTimeLeft->setText(timeLeftText({}));
    cmdCancel->setEnabled(true);
    // The worker only posts to the window; every widget is touched here, on the GUI thread. The
    // last post closes the window, so exec() returns after every progress post was shown.
    std::thread worker([this, &batch] {
        batch.run([this](const CopyProgress& progress) {
            QMetaObject::invokeMethod(
                this, [this, progress] { showProgress(progress); }, Qt::QueuedConnection);
            return !m_cancelled;
        });
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_running = false;
                accept();
            },
            Qt::QueuedConnection);
    });
    exec();
    worker.join();
}

void FrmHtml5Copies::showProgress(const CopyProgress& progress) {
    // Posts still under way when Cancel was pressed must not take back "Cancelling...".
    if (m_cancelled)
        return;
    prgCopy->setValue(int(std::lround(progress.fraction * prgCopy->maximum())));
    lblTimeLeft->setText(timeLeftText(progress.secondsLeft));
}

void FrmHtml5Copies::cancel() {
    m_cancelled = true;
    cmdCancel->setEnabled(false);
    lblTimeLeft->setText(QStringLiteral("Cancelling..."));
}

void FrmHtml5Copies::closeEvent(QCloseEvent* event) {
    if (m_running) {
        cancel();
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void FrmHtml5Copies::reject() {
    if (m_running)
        cancel();
    else
        QDialog::reject();
}
