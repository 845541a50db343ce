#include "ui/FrmVideoFiles.h"

#include <QCloseEvent>
#include <QShowEvent>

#include "models/VideoFilesDialogModel.h"

FrmVideoFiles::FrmVideoFiles(VideoFilesDialogModel& selection, QWidget* parent)
    : QDialog(parent), m_selection(selection) {}

void FrmVideoFiles::forward(const std::function<void()>& command, int result) {
    command();
    showState();
    if (!m_selection.isVisible() && isVisible())
        done(result);
}

void FrmVideoFiles::showEvent(QShowEvent* event) {
    // The controller prepares the selection before it asks for the window; a window shown any
    // other way prepares it here, so the buttons and the HTML5 mirror are never stale.
    if (!m_selection.isVisible())
        m_selection.show();
    showState();
    QDialog::showEvent(event);
}

void FrmVideoFiles::closeEvent(QCloseEvent* event) {
    forward([this] { m_selection.closeRequest(); });
    event->accept();
}

void FrmVideoFiles::reject() {
    forward([this] { m_selection.cancel(); });
}
