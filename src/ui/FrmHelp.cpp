#include "ui/FrmHelp.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/HelpTexts.h"
#include "ui/DialogParts.h"

FrmHelp::FrmHelp(int topic, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Quick Help"));
    setModal(true);

    txtInfo = DialogParts::textBox(this, QStringLiteral("txtInfo"));
    txtInfo->setReadOnly(true);
    txtInfo->setPlainText(DialogParts::forDisplay(HelpTexts::topic(topic)));
    cmdClose = DialogParts::button(this, QStringLiteral("cmdClose"), QStringLiteral("&Close"),
                                   QStringLiteral("Close this window"));
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(txtInfo);
    layout->addLayout(buttons);
    resize(540, 380);
}
