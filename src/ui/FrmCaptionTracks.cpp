#include "ui/FrmCaptionTracks.h"

#include "models/CaptionTracksDialogModel.h"

FrmCaptionTracks::FrmCaptionTracks(CaptionTracksDialogModel& model, QWidget* parent)
    : QDialog(parent), m_model(model) {
    setupUi(this);
    setWindowTitle(m_model.caption());
    // As high as the table and the buttons need in the style in use; the width is the form's.
    resize(width(), sizeHint().height());

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
