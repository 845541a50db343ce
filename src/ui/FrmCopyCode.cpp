#include "ui/FrmCopyCode.h"

#include "app/MainController.h"
#include "platform/Dialogs.h"
#include "platform/ScratchFolder.h"
#include "ui/DialogParts.h"
#include "ui/FrmInjectorOutput.h"
#include "ui/UiPlatform.h"

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

void FrmCopyCode::showDetails() {
    FrmInjectorOutput details(m_injectorOutput, this);
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
