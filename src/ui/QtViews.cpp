#include "ui/QtViews.h"

#include <QApplication>
#include <QSignalBlocker>
#include <QTabWidget>

#include "app/MainController.h"
#include "platform/Dialogs.h"
#include "ui/FrmCopyCode.h"
#include "ui/FrmFileWork.h"
#include "ui/FrmHelp.h"
#include "ui/FrmMain.h"
#include "ui/FrmSocial.h"
#include "ui/FrmSplash.h"
#include "ui/FrmVideoFilesMulti.h"
#include "ui/FrmVideoFilesSingle.h"
#include "ui/NormalPointer.h"
#include "ui/UiPlatform.h"

void QtViews::attach(MainController& controller, FrmMain& main) {
    m_controller = &controller;
    m_main = &main;
}

QWidget* QtViews::owner() const {
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return m_main;
}

void QtViews::showCurrentState() {
    if (m_main)
        m_main->refresh();
}

void QtViews::showSingleVideoDialog() {
    showCurrentState();
    if (!m_single)
        m_single = new FrmVideoFilesSingle(*m_controller, m_main);
    const NormalPointer pointer;
    m_single->exec();
}

void QtViews::showPlaylistEditor() {
    showCurrentState();
    if (!m_playlist)
        m_playlist = new FrmVideoFilesMulti(*m_controller, m_main);
    const NormalPointer pointer;
    m_playlist->exec();
}

void QtViews::showSplash() {
    showCurrentState();
    FrmSplash splash(m_main);
    splash.exec();
}

void QtViews::showSocialDialog() {
    showCurrentState();
    FrmSocial social(*m_controller, owner());
    const NormalPointer pointer;
    social.exec();
}

void QtViews::showQuickHelp(int topic) {
    showCurrentState();
    FrmHelp help(topic, owner());
    const NormalPointer pointer;
    help.exec();
}

void QtViews::showCodeWindow(const QString& embedCode, const QString& instructions) {
    showCurrentState();
    FrmCopyCode code(*m_controller, owner());
    code.setTexts(embedCode, instructions);
    code.setInjectorOutput(m_injectorOutput);
    const NormalPointer pointer;
    code.exec();
}

void QtViews::beginFileWork(const FileWorkPlan& plan) {
    m_injectorOutput.clear();
    // Small copies are done in a blink; the window appears for work worth watching.
    if (!plan.worthWatching())
        return;
    showCurrentState();
    m_fileWork = new FrmFileWork(owner(), &m_controller->dialogs());
    m_fileWork->begin(plan);
}

bool QtViews::fileWorkProgress(int index, qint64 done, qint64 total) {
    return m_fileWork ? m_fileWork->progress(index, done, total) : true;
}

bool QtViews::runInjection(int index, const QString& commandLine) {
    if (!m_fileWork)  // a plan with an injection is always watched
        return true;
    return m_fileWork->runInjection(index, commandLine);
}

void QtViews::endFileWork() {
    if (!m_fileWork)
        return;
    m_injectorOutput = m_fileWork->injectorOutput();
    m_fileWork->hide();
    delete m_fileWork;
}

void QtViews::focusControl(const QString& name) {
    // The playlist editor points at its own grid while it is open.
    if (m_playlist && m_playlist->isVisible()) {
        if (auto* control = m_playlist->findChild<QWidget*>(name)) {
            control->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    if (!m_main)
        return;
    if (auto* control = m_main->findChild<QWidget*>(name))
        control->setFocus(Qt::OtherFocusReason);
}

void QtViews::bringTabToFront(int index) {
    if (!m_main)
        return;
    if (auto* tabs = m_main->findChild<QTabWidget*>(QStringLiteral("sstThis"))) {
        const QSignalBlocker blocker(tabs);
        tabs->setCurrentIndex(index);
    }
}

// Nested runs (start-up's splash inside a busy start) each undo only their own pointer.
void QtViews::setBusy(bool busy) {
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        ++m_busy;
    } else if (m_busy > 0) {
        QApplication::restoreOverrideCursor();
        --m_busy;
    }
}

void QtViews::openWithDefaultProgram(const QString& path) {
    UiPlatform::openWithDefaultProgram(path);
}
