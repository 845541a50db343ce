#include "ui/FrmSocial.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "app/MainController.h"
#include "models/SocialDialogModel.h"
#include "ui/DialogParts.h"

using DialogParts::button;

FrmSocial::FrmSocial(MainController& controller, QWidget* parent)
    : QDialog(parent), m_model(controller.window().social()) {
    setObjectName(QStringLiteral("frmSocial"));
    setWindowTitle(QStringLiteral("Share Video Page on FaceBook and Twitter"));
    setModal(true);

    txtShareTitle = DialogParts::lineEdit(this, QStringLiteral("txtShareTitle"),
                                          QStringLiteral("Ex. The Holiday Videos"));
    txtShareURL = DialogParts::lineEdit(this, QStringLiteral("txtShareURL"));
    cmdSave = button(this, QStringLiteral("cmdSave"), QStringLiteral("Save and E&xit"));
    cmdRefresh = button(this, QStringLiteral("cmdRefresh"), QStringLiteral("&Refresh"),
                        QStringLiteral("Refresh all entries"));
    cmdCancel = button(this, QStringLiteral("cmdCancel"), QStringLiteral("&Cancel"),
                       QStringLiteral("Close this window"));

    buildLayout();
    connectCommands();
}

void FrmSocial::buildLayout() {
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Title of Content:"), txtShareTitle);
    form->addRow(QStringLiteral("Web Link:"), txtShareURL);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdRefresh);
    buttons->addStretch();
    buttons->addWidget(cmdSave);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    resize(520, sizeHint().height());
}

void FrmSocial::connectCommands() {
    connect(txtShareTitle, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_model.txtShareTitle = text; });
    connect(txtShareURL, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_model.txtShareURL = text; });
    const auto save = [this] {
        m_model.save();
        accept();
    };
    connect(cmdSave, &QPushButton::clicked, this, save);
    connect(txtShareURL, &QLineEdit::returnPressed, this, save);
    connect(cmdRefresh, &QPushButton::clicked, this, [this] {
        m_model.refresh();
        showModel();
    });
    connect(cmdCancel, &QPushButton::clicked, this, [this] {
        m_model.cancel();
        reject();
    });
}

void FrmSocial::showModel() {
    const QSignalBlocker titleBlocker(txtShareTitle);
    const QSignalBlocker urlBlocker(txtShareURL);
    txtShareTitle->setText(m_model.txtShareTitle);
    txtShareURL->setText(m_model.txtShareURL);
}

void FrmSocial::showEvent(QShowEvent* event) {
    // Each showing starts as a freshly opened dialog: the boxes' start texts, then the stored
    // values. What was typed and cancelled last time is gone, even where no value is stored.
    if (!event->spontaneous()) {
        m_model.refresh();
        m_model.load();
        showModel();
    }
    QDialog::showEvent(event);
}
