#include "ui/FrmVideoFiles.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QPushButton>
#include <QShowEvent>

#include "models/VideoFilesDialogModel.h"
#include "ui/DialogParts.h"

FrmVideoFiles::FrmVideoFiles(VideoFilesDialogModel& selection, QWidget* parent)
    : QDialog(parent), m_selection(selection) {}

void FrmVideoFiles::takeCommonControls(const CommonControls& controls) {
    m_common = controls;
    connect(controls.save, &QPushButton::clicked, this,
            [this] { forward([this] { m_selection.save(); }, Accepted); });
    connect(controls.cancel, &QPushButton::clicked, this,
            [this] { forward([this] { m_selection.cancel(); }); });
    connect(controls.help, &QPushButton::clicked, this,
            [this] { forward([this] { m_selection.help(); }); });
}

void FrmVideoFiles::forward(const std::function<void()>& command, int result) {
    command();
    refresh();
    if (!m_selection.isVisible() && isVisible())
        done(result);
}

void FrmVideoFiles::refresh() {
    m_common.html5->setChecked(m_selection.html5Files());
    m_common.html5->setEnabled(m_selection.html5CheckEnabled());
    showState();
}

void FrmVideoFiles::enableHtml5Command(QWidget* command, bool enabled) {
    static const char* const kOwnTip = "vidlarkOwnToolTip";
    if (!command->property(kOwnTip).isValid())
        command->setProperty(kOwnTip, command->toolTip());
    command->setEnabled(enabled);
    const QString reason = m_selection.html5FilesToolTip();
    command->setToolTip(enabled || reason.isEmpty() ? command->property(kOwnTip).toString()
                                                    : DialogParts::toolTip(reason));
}

void FrmVideoFiles::showEvent(QShowEvent* event) {
    // The controller prepares the selection before it asks for the window; a window shown any
    // other way prepares it here, so the buttons and the HTML5 mirror are never stale.
    if (!m_selection.isVisible())
        m_selection.show();
    refresh();
    // Both windows' HTML5 check box only mirrors the main window, which its tool tip says.
    m_common.html5->setToolTip(DialogParts::toolTip(m_selection.html5CheckToolTip()));
    QDialog::showEvent(event);
}

void FrmVideoFiles::closeEvent(QCloseEvent* event) {
    forward([this] { m_selection.closeRequest(); });
    event->accept();
}

void FrmVideoFiles::reject() {
    forward([this] { m_selection.cancel(); });
}
