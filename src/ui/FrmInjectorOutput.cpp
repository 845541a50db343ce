#include "ui/FrmInjectorOutput.h"

#include "ui/DialogParts.h"

FrmInjectorOutput::FrmInjectorOutput(const QString& output, QWidget* parent) : QDialog(parent) {
    setupUi(this);
    // A form names only the family; where Courier New is missing the injector's columns need the
    // nearest fixed-pitch font, not the default one.
    txtDOS->setFont(DialogParts::courierNew());
    txtDOS->setPlainText(output);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);
}
