#include "ui/FrmCaptionTracks.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "models/CaptionTracksDialogModel.h"
#include "ui/CaptionTable.h"
#include "ui/DialogParts.h"

using DialogParts::button;

FrmCaptionTracks::FrmCaptionTracks(CaptionTracksDialogModel& model, QWidget* parent)
    : QDialog(parent), m_model(model) {
    setObjectName(QStringLiteral("frmCaptionTracks"));
    setWindowTitle(m_model.caption());
    setModal(true);
    grdCaptions = new CaptionTable(this, 4);
    cmdOK = button(this, QStringLiteral("cmdOK"), QStringLiteral("&OK"),
                   QStringLiteral("Keep these languages and labels"));
    cmdCancel = button(this, QStringLiteral("cmdCancel"), QStringLiteral("&Cancel"),
                       QStringLiteral("Close this window without changes"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grdCaptions);
    layout->addLayout(buttons);
    resize(620, sizeHint().height());

    connect(grdCaptions, &CaptionTable::languageEdited, this, [this](int row, const QString& text) {
        m_model.setLanguage(row, text);
        showTracks();
    });
    connect(grdCaptions, &CaptionTable::labelEdited, this, [this](int row, const QString& text) {
        m_model.setLabel(row, text);
        showTracks();
    });
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    showTracks();
}

void FrmCaptionTracks::showTracks() {
    grdCaptions->showTracks(m_model.tracks());
}
