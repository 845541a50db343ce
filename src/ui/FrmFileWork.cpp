#include "ui/FrmFileWork.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTextCursor>
#include <QTimer>
#include <QVBoxLayout>

#include "platform/AppError.h"
#include "platform/Dialogs.h"
#include "platform/InjectorRun.h"
#include "ui/DialogParts.h"

namespace {

constexpr int kBarSteps = 1000;

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
    setObjectName(QStringLiteral("frmFileWork"));
    setWindowTitle(QStringLiteral("Copying files and injecting metadata"));
    setWindowModality(Qt::ApplicationModal);

    lblFile = DialogParts::label(this, QStringLiteral("lblFile"), QString());
    lblStep = DialogParts::label(this, QStringLiteral("lblStep"), QString());
    lblBytes = DialogParts::label(this, QStringLiteral("lblBytes"), QString());
    prgOverall = new QProgressBar(this);
    prgOverall->setObjectName(QStringLiteral("prgOverall"));
    prgOverall->setRange(0, kBarSteps);
    lblTimeLeft = DialogParts::label(this, QStringLiteral("lblTimeLeft"), QString());
    Frame1 = new QGroupBox(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    lblMessage = DialogParts::label(Frame1, QStringLiteral("lblMessage"),
                                    QStringLiteral("Please wait, injecting metadata"));
    txtDOS = DialogParts::textBox(Frame1, QStringLiteral("txtDOS"));
    txtDOS->setReadOnly(true);
    txtDOS->setFont(DialogParts::courierNew());
    cmdCancel = DialogParts::button(this, QStringLiteral("cmdCancel"), QStringLiteral("&Cancel"),
                                    QStringLiteral("Stop copying and injecting; nothing is left "
                                                   "half-written"));
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(200);
    connect(Timer1, &QTimer::timeout, this, &FrmFileWork::scrollToEnd);
    connect(cmdCancel, &QPushButton::clicked, this, &FrmFileWork::cancel);
    buildLayout();
}

void FrmFileWork::buildLayout() {
    auto* frameLayout = new QVBoxLayout(Frame1);
    frameLayout->addWidget(lblMessage);
    frameLayout->addWidget(txtDOS);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    for (QWidget* line : {static_cast<QWidget*>(lblFile), static_cast<QWidget*>(lblStep),
                          static_cast<QWidget*>(lblBytes), static_cast<QWidget*>(prgOverall),
                          static_cast<QWidget*>(lblTimeLeft)})
        layout->addWidget(line);
    layout->addWidget(Frame1, 1);
    layout->addLayout(buttons);
    resize(560, 420);
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
    prgOverall->setValue(static_cast<int>(fraction * kBarSteps));
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
