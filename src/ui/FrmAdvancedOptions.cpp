#include "ui/FrmAdvancedOptions.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/MainController.h"
#include "models/AdvancedOptionsDialogModel.h"
#include "settings/AdvancedOptions.h"
#include "ui/DialogParts.h"
#include "ui/InputRulesFilter.h"

using DialogParts::lineEdit;

namespace {

// A number box with its unit beside it.
QWidget* withUnit(QWidget* box, const QString& unit) {
    auto* row = new QWidget(box->parentWidget());
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(box);
    layout->addWidget(new QLabel(unit, row));
    layout->addStretch();
    return row;
}

}  // namespace

FrmAdvancedOptions::FrmAdvancedOptions(MainController& controller, QWidget* parent)
    : QDialog(parent),
      m_controller(controller),
      m_options(controller.advancedOptions()),
      m_views(controller.views(), *this) {
    setObjectName(QStringLiteral("frmAdvancedOptions"));
    setWindowTitle(QStringLiteral("Advanced Options..."));
    setModal(true);

    txtVideoBuffer = lineEdit(this, QStringLiteral("txtVideoBuffer"));
    chkHideControlsFloatingBar =
        new QCheckBox(QStringLiteral("&Hide Controls on Floating Bar Player"), this);
    chkHideControlsFloatingBar->setObjectName(QStringLiteral("chkHideControlsFloatingBar"));
    txtItemsPlaylist = lineEdit(this, QStringLiteral("txtItemsPlaylist"));
    txtWidthPlaylist = lineEdit(this, QStringLiteral("txtWidthPlaylist"));
    txtPlayListFontSize = lineEdit(this, QStringLiteral("txtPlayListFontSize"));
    txtErrorFlash = DialogParts::textBox(this, QStringLiteral("txtErrorFlash"));
    txtErrorHtml5 = DialogParts::textBox(this, QStringLiteral("txtErrorHtml5"));
    cmdSave = DialogParts::button(this, QStringLiteral("cmdSave"), QStringLiteral("&Save"));
    cmdCancel = DialogParts::button(this, QStringLiteral("cmdCancel"), QStringLiteral("&Cancel"),
                                    QStringLiteral("Close this window"));

    auto* keyFilter = new InputRulesFilter(this);
    for (QLineEdit* box : {txtVideoBuffer, txtItemsPlaylist, txtWidthPlaylist, txtPlayListFontSize})
        keyFilter->watch(box);

    buildLayout();
    connectEdits();
    showOptions();
}

void FrmAdvancedOptions::buildLayout() {
    auto* warning = new QLabel(
        QStringLiteral("Warning: Read the documentation carefully before making changes to any of "
                       "the values shown in this window. It may cause your software to give "
                       "unexpected results."),
        this);
    warning->setWordWrap(true);
    for (QLineEdit* box : {txtVideoBuffer, txtItemsPlaylist, txtWidthPlaylist, txtPlayListFontSize})
        box->setMaximumWidth(80);
    for (QPlainTextEdit* box : {txtErrorFlash, txtErrorHtml5})
        box->setMinimumHeight(70);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Video Buffer in Seconds:"), txtVideoBuffer);
    form->addRow(chkHideControlsFloatingBar);
    form->addRow(QStringLiteral("Items Visible if Playlist at Bottom:"), txtItemsPlaylist);
    form->addRow(QStringLiteral("Width of Playlist if Playlist at Right:"),
                 withUnit(txtWidthPlaylist, QStringLiteral("pixels")));
    form->addRow(QStringLiteral("Playlist Font Size:"),
                 withUnit(txtPlayListFontSize, QStringLiteral("pixels")));
    form->addRow(QStringLiteral("No Flash Support Message:"), txtErrorFlash);
    form->addRow(QStringLiteral("No HTML5 Video Support Message:"), txtErrorHtml5);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdSave);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(warning);
    layout->addLayout(form);
    layout->addLayout(buttons);
    resize(560, 480);
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
