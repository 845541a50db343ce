#include "ui/QtViews.h"

#include <QApplication>
#include <QProgressDialog>
#include <QSignalBlocker>
#include <QTabWidget>

#include "app/MainController.h"
#include "platform/Dialogs.h"
#include "ui/FrmCopyCode.h"
#include "ui/FrmHelp.h"
#include "ui/FrmInject.h"
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
    const NormalPointer pointer;
    code.exec();
}

void QtViews::showInjection(const QString& commandLine) {
    showCurrentState();
    FrmInject inject(owner(), &m_controller->dialogs());
    inject.run(commandLine);
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
// Small files copy in a blink; a window appears only for copies worth watching.
void QtViews::showCopyProgress(const QString& fileName, qint64 done, qint64 total) {
    constexpr qint64 kWorthShowing = 64ll << 20;
    if (total < kWorthShowing || done >= total) {
        if (m_progress)
            m_progress->deleteLater();
        return;
    }
    if (!m_progress) {
        m_progress = new QProgressDialog(owner());
        m_progress->setObjectName(QStringLiteral("dlgCopyProgress"));
        m_progress->setWindowTitle(QStringLiteral("Copying"));
        m_progress->setCancelButton(nullptr);
        m_progress->setMinimumDuration(0);
        m_progress->setWindowModality(Qt::WindowModal);
        m_progress->setRange(0, 1000);
    }
    m_progress->setLabelText(
        QStringLiteral("Copying %1 (%2 of %3 MB)").arg(fileName).arg(done >> 20).arg(total >> 20));
    m_progress->setValue(static_cast<int>(done * 1000 / total));
    QCoreApplication::processEvents();
}

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
