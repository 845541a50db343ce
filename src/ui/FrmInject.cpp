#include "ui/FrmInject.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTimer>
#include <QVBoxLayout>

#include "platform/AppError.h"
#include "platform/ConsoleRunner.h"
#include "platform/Dialogs.h"
#include "ui/DialogParts.h"

FrmInject::FrmInject(QWidget* parent, Dialogs* dialogs) : QDialog(parent), m_dialogs(dialogs) {
    setObjectName(QStringLiteral("frmInject"));
    setWindowTitle(QStringLiteral("Metadata injection"));
    setWindowModality(Qt::ApplicationModal);

    Frame1 = new QGroupBox(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    lblMessage = DialogParts::label(Frame1, QStringLiteral("lblMessage"),
                                    QStringLiteral("Please wait, injecting metadata"));
    txtDOS = DialogParts::textBox(Frame1, QStringLiteral("txtDOS"));
    txtDOS->setReadOnly(true);
    txtDOS->setFont(DialogParts::courierNew());
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(200);
    connect(Timer1, &QTimer::timeout, this, &FrmInject::scrollToEnd);
    buildLayout();
}

void FrmInject::buildLayout() {
    auto* frameLayout = new QVBoxLayout(Frame1);
    frameLayout->addWidget(lblMessage);
    frameLayout->addWidget(txtDOS);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame1);
    resize(560, 300);
}

void FrmInject::run(const QString& commandLine) {
    txtDOS->clear();
    m_decoder = QStringDecoder(QStringDecoder::System);
    show();
    raise();
    activateWindow();
    Timer1->start();  // and it keeps ticking for the next injection
    m_running = true;
    QString result;
    try {
        result =
            ConsoleRunner::run(commandLine, [this](const QByteArray& output) { append(output); });
    } catch (const AppError& error) {
        if (m_dialogs != nullptr)
            m_dialogs->reportError(error);
        else
            QMessageBox::critical(this, QStringLiteral("Error"), commonErrorMessage(error));
    }
    m_running = false;
    txtDOS->setPlainText(result);
    hide();
}

void FrmInject::append(const QByteArray& output) {
    // Console output ends its lines in CR LF, and a piece may end between the two.
    QString text = m_decoder.decode(output);
    text.remove(QLatin1Char('\r'));
    QTextCursor end(txtDOS->document());
    end.movePosition(QTextCursor::End);
    end.insertText(text);
}

void FrmInject::scrollToEnd() {
    txtDOS->moveCursor(QTextCursor::End);
    txtDOS->ensureCursorVisible();
}

void FrmInject::closeEvent(QCloseEvent* event) {
    if (m_running)
        event->ignore();
    else
        QDialog::closeEvent(event);
}

void FrmInject::reject() {
    if (!m_running)
        QDialog::reject();
}
