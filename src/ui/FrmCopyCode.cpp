#include "ui/FrmCopyCode.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/MainController.h"
#include "platform/Dialogs.h"
#include "platform/ScratchFolder.h"
#include "ui/DialogParts.h"
#include "ui/UiPlatform.h"

using DialogParts::button;

namespace {

QGroupBox* frame(QWidget* owner, const QString& name, const QString& caption, QWidget* content) {
    auto* group = new QGroupBox(caption, owner);
    group->setObjectName(name);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(content);
    return group;
}

}  // namespace

FrmCopyCode::FrmCopyCode(MainController& controller, QWidget* parent)
    : QDialog(parent), m_controller(controller) {
    setObjectName(QStringLiteral("frmCopyCode"));
    setWindowTitle(QStringLiteral("Output HTML Code and Instructions"));
    setModal(true);

    txtCopyCode = DialogParts::textBox(this, QStringLiteral("txtCopyCode"),
                                       QStringLiteral("Generated HTML code for the streaming "
                                                      "video player"));
    txtCopyCode->setFont(DialogParts::courierNew());
    QPalette blue = txtCopyCode->palette();
    blue.setColor(QPalette::Text, Qt::blue);
    txtCopyCode->setPalette(blue);
    txtInst = DialogParts::textBox(this, QStringLiteral("txtInst"),
                                   QStringLiteral("Instructions for uploading associated files"));
    for (QPlainTextEdit* box : {txtCopyCode, txtInst}) {
        box->setReadOnly(true);
        box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    }
    Frame1 = frame(this, QStringLiteral("Frame1"),
                   QStringLiteral("Copy the following blue code and paste it on your HTML editor"),
                   txtCopyCode);
    Frame2 = frame(this, QStringLiteral("Frame2"),
                   QStringLiteral("Instructions for uploading associated (required) files to "
                                  "your webserver"),
                   txtInst);
    cmdCopyCode =
        button(this, QStringLiteral("cmdCopyCode"), QStringLiteral("Co&py Code to Clipboard"),
               QStringLiteral("Copy generated code to clipboard"));
    cmdSaveCodeInst =
        button(this, QStringLiteral("cmdSaveCodeInst"), QStringLiteral("&Open Output Folder"),
               QStringLiteral("Open the folder where the software has output all "
                              "the required files"));
    cmdTest = button(this, QStringLiteral("cmdTest"), QStringLiteral("&Test in Browser (Offline)"),
                     QStringLiteral("Test the video player in default browser"));
    cmdDetails = button(this, QStringLiteral("cmdDetails"), QStringLiteral("&Details"),
                        QStringLiteral("What the metadata injector reported for the videos"));
    cmdDetails->setEnabled(false);
    cmdClose = button(this, QStringLiteral("cmdClose"), QStringLiteral("&Close"),
                      QStringLiteral("Close this window"));
    buildLayout();

    connect(cmdCopyCode, &QPushButton::clicked, this, &FrmCopyCode::copyCode);
    connect(cmdSaveCodeInst, &QPushButton::clicked, this, &FrmCopyCode::openOutput);
    connect(cmdTest, &QPushButton::clicked, this, &FrmCopyCode::testOffline);
    connect(cmdDetails, &QPushButton::clicked, this, &FrmCopyCode::showDetails);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);
}

void FrmCopyCode::buildLayout() {
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdCopyCode);
    buttons->addWidget(cmdSaveCodeInst);
    buttons->addWidget(cmdTest);
    buttons->addWidget(cmdDetails);
    buttons->addStretch();
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame1, 3);
    layout->addWidget(Frame2, 2);
    layout->addLayout(buttons);
    resize(820, 600);
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
