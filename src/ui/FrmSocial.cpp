#include "ui/FrmSocial.h"

#include <QShowEvent>
#include <QSignalBlocker>

#include "app/MainController.h"
#include "models/SocialDialogModel.h"

FrmSocial::FrmSocial(MainController& controller, QWidget* parent)
    : QDialog(parent), m_model(controller.window().social()) {
    setupUi(this);
    // As high as the boxes and the buttons need in the style in use; the width is the form's.
    resize(width(), sizeHint().height());
    connectCommands();
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
