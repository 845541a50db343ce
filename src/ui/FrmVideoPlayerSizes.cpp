#include "ui/FrmVideoPlayerSizes.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "app/MainController.h"
#include "ui/DialogParts.h"

FrmVideoPlayerSizes::FrmVideoPlayerSizes(MainController& controller, QWidget* parent)
    : QDialog(parent), m_editor(controller.dialogs(), controller.paths().config) {
    setObjectName(QStringLiteral("frmVideoPlayerSizes"));
    setWindowTitle(QStringLiteral("Video Player Sizes"));
    setModal(true);

    txtVideoWindowSizes =
        DialogParts::textBox(this, QStringLiteral("txtVideoWindowSizes"),
                             QStringLiteral("List of available video window sizes"));
    cmdSave = DialogParts::button(this, QStringLiteral("cmdSave"), QStringLiteral("&Save"));
    cmdCancel = DialogParts::button(this, QStringLiteral("cmdCancel"), QStringLiteral("&Cancel"),
                                    QStringLiteral("Close this window"));
    buildLayout();

    connect(cmdSave, &QPushButton::clicked, this,
            [this] { m_editor.save(txtVideoWindowSizes->toPlainText()); });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void FrmVideoPlayerSizes::buildLayout() {
    auto* note = new QLabel(
        QStringLiteral("You can edit or add new video player sizes. Remember if you are not sure "
                       "about video player sizes, it is suggested not to alter these. Also ensure "
                       "you follow the proper format when you add a new one or alter an existing "
                       "one."),
        this);
    note->setWordWrap(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdSave);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(note);
    layout->addWidget(new QLabel(QStringLiteral("WidthxHeight Custom Text:"), this));
    layout->addWidget(txtVideoWindowSizes, 1);
    layout->addLayout(buttons);
    resize(460, 400);
}

void FrmVideoPlayerSizes::showEvent(QShowEvent* event) {
    // Each showing starts from the file as it is now.
    if (!event->spontaneous())
        txtVideoWindowSizes->setPlainText(DialogParts::forDisplay(m_editor.load()));
    QDialog::showEvent(event);
}
