#include "ui/FrmAdvancedOptions.h"

#include "app/MainController.h"
#include "models/AdvancedOptionsDialogModel.h"
#include "settings/AdvancedOptions.h"
#include "ui/DialogParts.h"
#include "ui/InputRulesFilter.h"

FrmAdvancedOptions::FrmAdvancedOptions(MainController& controller, QWidget* parent)
    : QDialog(parent),
      m_controller(controller),
      m_options(controller.advancedOptions()),
      m_views(controller.views(), *this) {
    setupUi(this);
    auto* keyFilter = new InputRulesFilter(this);
    for (QLineEdit* box : {txtVideoBuffer, txtItemsPlaylist, txtWidthPlaylist, txtPlayListFontSize})
        keyFilter->watch(box);
    connectEdits();
    showOptions();
}

void FrmAdvancedOptions::connectEdits() {
    const auto text = [this](QLineEdit* box, QString AdvancedOptions::*field) {
        connect(box, &QLineEdit::textChanged, this,
                [this, field](const QString& value) { m_options.*field = value; });
    };
    text(txtVideoBuffer, &AdvancedOptions::VideoBuffer);
    text(txtItemsPlaylist, &AdvancedOptions::ItemsPlaylist);
    text(txtWidthPlaylist, &AdvancedOptions::WidthPlaylist);
    text(txtPlayListFontSize, &AdvancedOptions::PlayListFontSize);
    const auto multiLine = [this](QPlainTextEdit* box, QString AdvancedOptions::*field) {
        connect(box, &QPlainTextEdit::textChanged, this,
                [this, box, field] { m_options.*field = box->toPlainText(); });
    };
    multiLine(txtErrorFlash, &AdvancedOptions::ErrorFlash);
    multiLine(txtErrorHtml5, &AdvancedOptions::ErrorHtml5);
    connect(chkHideControlsFloatingBar, &QCheckBox::toggled, this,
            [this](bool on) { m_options.HideControlsFloatingBar = on; });
    connect(cmdSave, &QPushButton::clicked, this, &FrmAdvancedOptions::save);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void FrmAdvancedOptions::showOptions() {
    const QList<QObject*> boxes{txtVideoBuffer,   chkHideControlsFloatingBar, txtItemsPlaylist,
                                txtWidthPlaylist, txtPlayListFontSize,        txtErrorFlash,
                                txtErrorHtml5};
    for (QObject* box : boxes)
        box->blockSignals(true);
    txtVideoBuffer->setText(m_options.VideoBuffer);
    chkHideControlsFloatingBar->setChecked(m_options.HideControlsFloatingBar);
    txtItemsPlaylist->setText(m_options.ItemsPlaylist);
    txtWidthPlaylist->setText(m_options.WidthPlaylist);
    txtPlayListFontSize->setText(m_options.PlayListFontSize);
    txtErrorFlash->setPlainText(DialogParts::forDisplay(m_options.ErrorFlash));
    txtErrorHtml5->setPlainText(DialogParts::forDisplay(m_options.ErrorHtml5));
    for (QObject* box : boxes)
        box->blockSignals(false);
}

void FrmAdvancedOptions::save() {
    AdvancedOptionsDialogModel(m_controller.dialogs(), m_views, m_controller.paths().config)
        .save(m_options);
}

void FrmAdvancedOptions::showEvent(QShowEvent* event) {
    showOptions();
    QDialog::showEvent(event);
}
