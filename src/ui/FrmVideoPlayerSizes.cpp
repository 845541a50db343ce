#include "ui/FrmVideoPlayerSizes.h"

#include <QShowEvent>

#include "app/MainController.h"
#include "ui/DialogParts.h"

FrmVideoPlayerSizes::FrmVideoPlayerSizes(MainController& controller, QWidget* parent)
    : QDialog(parent), m_editor(controller.dialogs(), controller.paths().config) {
    setupUi(this);
    connect(cmdSave, &QPushButton::clicked, this,
            [this] { m_editor.save(txtVideoWindowSizes->toPlainText()); });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void FrmVideoPlayerSizes::showEvent(QShowEvent* event) {
    // Each showing starts from the file as it is now.
    if (!event->spontaneous())
        txtVideoWindowSizes->setPlainText(DialogParts::forDisplay(m_editor.load()));
    QDialog::showEvent(event);
}
