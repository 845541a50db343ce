#include "ui/FrmFileWork.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLocale>
#include <QMessageBox>
#include <QTextCursor>
#include <QTimer>

#include "platform/AppError.h"
#include "platform/Dialogs.h"
#include "platform/InjectorRun.h"
#include "ui/DialogParts.h"

namespace {

QString sizeText(qint64 bytes) {
    return QLocale::system().formattedDataSize(bytes, 1, QLocale::DataSizeTraditionalFormat);
}

QString timeLeftText(qint64 seconds) {
    if (seconds < 0)
        return QStringLiteral("Time left: estimating...");
    if (seconds < 60)
        return QStringLiteral("Time left: about %1 s").arg(seconds);
    return QStringLiteral("Time left: about %1 min %2 s").arg(seconds / 60).arg(seconds % 60);
}

}  // namespace

FrmFileWork::FrmFileWork(QWidget* parent, Dialogs* dialogs) : QDialog(parent), m_dialogs(dialogs) {
    setupUi(this);
    // A form names only the family; where Courier New is missing the box needs the nearest
    // fixed-pitch font, not the default one, for the injector's columns to line up.
    txtDOS->setFont(DialogParts::courierNew());
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(200);
    connect(Timer1, &QTimer::timeout, this, &FrmFileWork::scrollToEnd);
    connect(cmdCancel, &QPushButton::clicked, this, &FrmFileWork::cancel);
}

void FrmFileWork::begin(const FileWorkPlan& plan) {
    m_plan = plan;
    m_cancelled = false;
    txtDOS->clear();
    m_clock.start();
    showStep(0, 0, 1);
    show();
    raise();
    activateWindow();
    Timer1->start();
}

bool FrmFileWork::progress(int index, qint64 done, qint64 total) {
    if (!m_cancelled)
        showStep(index, done, total);
    // The copy runs on this thread: the window redraws and takes the Cancel click only here.
    QCoreApplication::processEvents();
    return !m_cancelled;
}

void FrmFileWork::showStep(int index, qint64 done, qint64 total) {
    if (index < 0 || index >= m_plan.steps.size())
        return;
    const FileWorkStep& step = m_plan.steps[index];
    lblFile->setText(step.name);
    // The injector's output stays on show under its own heading while copies run around it.
    lblMessage->setText(step.kind == FileWorkStep::Kind::Inject
                            ? QStringLiteral("Please wait, injecting metadata")
                            : QStringLiteral("Output of the metadata injector"));
    lblStep->setText(QStringLiteral("%1 (step %2 of %3)")
                         .arg(FileWorkPlan::activity(step))
                         .arg(index + 1)
                         .arg(m_plan.steps.size()));
    lblBytes->setText(
        QStringLiteral("%1 of %2")
            .arg(sizeText(m_plan.bytesDone(index, done, total)), sizeText(m_plan.totalBytes())));
    const double fraction = m_plan.fraction(index, done, total);
    prgOverall->setValue(static_cast<int>(fraction * prgOverall->maximum()));
    lblTimeLeft->setText(timeLeftText(FileWorkPlan::secondsLeft(fraction, m_clock.elapsed())));
}

bool FrmFileWork::runInjection(int index, const QString& commandLine) {
    if (!progress(index, 0, 1))
        return false;
    m_decoder = QStringDecoder(QStringDecoder::System);
    const InjectorRun run = InjectorRun::run(
        commandLine, [this](const QByteArray& output) { append(output); },
        [this] { return m_cancelled; });
    if (run.notStarted && m_dialogs != nullptr)
        m_dialogs->reportError(*run.notStarted);
    else if (run.notStarted)
        QMessageBox::critical(this, QStringLiteral("Error"), commonErrorMessage(*run.notStarted));
    return !m_cancelled;
}

QString FrmFileWork::injectorOutput() const {
    return txtDOS->toPlainText();
}

void FrmFileWork::append(const QByteArray& output) {
    // Console output ends its lines in CR LF, and a piece may end between the two.
    QString text = m_decoder.decode(output);
    text.remove(QLatin1Char('\r'));
    QTextCursor end(txtDOS->document());
    end.movePosition(QTextCursor::End);
    end.insertText(text);
}

void FrmFileWork::scrollToEnd() {
    txtDOS->moveCursor(QTextCursor::End);
    txtDOS->ensureCursorVisible();
}

void FrmFileWork::cancel() {
    m_cancelled = true;
    cmdCancel->setEnabled(false);
    lblTimeLeft->setText(QStringLiteral("Cancelling..."));
}

void FrmFileWork::closeEvent(QCloseEvent* event) {
    if (isVisible() && !m_cancelled)
        cancel();
    event->ignore();
}

void FrmFileWork::reject() {
    cancel();
}
