#include "ui/FrmCopyCode.h"

#include <QVBoxLayout>

#include "app/MainController.h"
#include "platform/Dialogs.h"
#include "platform/ScratchFolder.h"
#include "ui/DialogParts.h"
#include "ui/UiPlatform.h"

using DialogParts::button;

FrmCopyCode::FrmCopyCode(MainController& controller, QWidget* parent)
    : QDialog(parent), m_controller(controller) {
    setupUi(this);
    // A form names only the family; where Courier New is missing the code needs the nearest
    // fixed-pitch font, not the default one.
    txtCopyCode->setFont(DialogParts::courierNew());
    connect(cmdCopyCode, &QPushButton::clicked, this, &FrmCopyCode::copyCode);
    connect(cmdSaveCodeInst, &QPushButton::clicked, this, &FrmCopyCode::openOutput);
    connect(cmdTest, &QPushButton::clicked, this, &FrmCopyCode::testOffline);
    connect(cmdDetails, &QPushButton::clicked, this, &FrmCopyCode::showDetails);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);
}

void FrmCopyCode::setTexts(const QString& embedCode, const QString& instructions) {
    m_embedCode = embedCode;
    txtCopyCode->setPlainText(DialogParts::forDisplay(embedCode));
    txtInst->setPlainText(DialogParts::forDisplay(instructions));
}

void FrmCopyCode::setInjectorOutput(const QString& output) {
    m_injectorOutput = output;
    cmdDetails->setEnabled(!output.isEmpty());
}

// A window of its own, so the code and instructions stay as they are; it lives while open.
void FrmCopyCode::showDetails() {
    QDialog details(this);
    details.setObjectName(QStringLiteral("frmInjectorOutput"));
    details.setWindowTitle(QStringLiteral("Metadata injection"));
    QPlainTextEdit* log = DialogParts::textBox(&details, QStringLiteral("txtDOS"));
    log->setReadOnly(true);
    log->setFont(DialogParts::courierNew());
    log->setPlainText(m_injectorOutput);
    QPushButton* close = button(&details, QStringLiteral("cmdClose"), QStringLiteral("&Close"));
    connect(close, &QPushButton::clicked, &details, &QDialog::accept);
    auto* layout = new QVBoxLayout(&details);
    layout->addWidget(log);
    layout->addWidget(close, 0, Qt::AlignRight);
    details.resize(560, 300);
    details.exec();
}

void FrmCopyCode::copyCode() {
    txtCopyCode->selectAll();
    txtCopyCode->setFocus(Qt::OtherFocusReason);
    // The code exactly as generated, CR LF line breaks included, whatever the box shows.
    UiPlatform::setClipboardText(m_embedCode);
    m_controller.dialogs().inform(
        QStringLiteral("CODE COPIED. YOU MAY PASTE IT NOW ON YOUR HTML EDITOR."),
        QStringLiteral(" Message"));
}

void FrmCopyCode::openOutput() {
    m_controller.openOutputFolder(&UiPlatform::showFileInFolder);
}

// Browsers run neither the Flash emulator nor, often, the player's requests from a file: the page
// is opened through the program's own server on 127.0.0.1, and as a file only when no port can be
// had.
void FrmCopyCode::testOffline() {
    const QString address = m_controller.localTestPageAddress();
    if (!address.isEmpty()) {
        UiPlatform::openUrl(address);
        return;
    }
    UiPlatform::openWithDefaultProgram(ScratchFolder::localTestPage(m_controller.paths()));
}
