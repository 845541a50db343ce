#pragma once

#include <QPointer>

#include "platform/Views.h"

class FrmFileWork;
class FrmMain;
class FrmVideoFilesMulti;
class FrmVideoFilesSingle;
class MainController;
class QWidget;

// The desktop program's Views: the controller's requests become the program's windows. The
// single-video dialog and the playlist editor are made once and shown again for every use; the
// other windows are made for each showing, since they hold nothing between two.
class QtViews : public Views {
  public:
    // The controller is made with these views, and the main window with the controller, so both
    // arrive after construction.
    void attach(MainController& controller, FrmMain& main);

    void showSingleVideoDialog() override;
    void showPlaylistEditor() override;
    void showSplash() override;
    void showSocialDialog() override;
    void showQuickHelp(int topic) override;
    void showCodeWindow(const QString& embedCode, const QString& instructions) override;
    // The file work shows one window (frmFileWork) when it is worth watching; its injector
    // output stays readable behind the code window's "&Details".
    void beginFileWork(const FileWorkPlan& plan) override;
    bool fileWorkProgress(int index, qint64 done, qint64 total) override;
    bool runInjection(int index, const QString& commandLine) override;
    void endFileWork() override;
    void focusControl(const QString& name) override;
    void bringTabToFront(int index) override;
    void setBusy(bool busy) override;
    void openWithDefaultProgram(const QString& path) override;

  private:
    // The window a new dialog belongs to: the one the user works in.
    QWidget* owner() const;
    // The main window shows the state that led to the request before a dialog covers it.
    void showCurrentState();

    MainController* m_controller = nullptr;
    QPointer<FrmMain> m_main;
    QPointer<FrmVideoFilesSingle> m_single;
    QPointer<FrmVideoFilesMulti> m_playlist;
    QPointer<FrmFileWork> m_fileWork;
    QString m_injectorOutput;  // of the last run's file work
    int m_busy = 0;
};
