#include "ui/FrmHelp.h"

#include "app/HelpTexts.h"
#include "ui/DialogParts.h"

FrmHelp::FrmHelp(int topic, QWidget* parent) : QDialog(parent) {
    setupUi(this);
    txtInfo->setPlainText(DialogParts::forDisplay(HelpTexts::topic(topic)));
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);
}
