#pragma once

#include <QStringList>
#include <functional>

#include "platform/Dialogs.h"
#include "platform/Views.h"

// vidlark-cli shows no windows: a modal dialog is closed at once with its Cancel, and the code
// window's contents are kept for printing.
class CliViews : public Views {
  public:
    explicit CliViews(Dialogs& dialogs) : m_dialogs(dialogs) {}

    std::function<void()> cancelSingleVideoDialog;
    std::function<void()> cancelPlaylistEditor;
    // The FLV videos whose injection failed (the injector could not be started, or ended with
    // an error), in the order they were injected.
    QStringList failedInjections;

    void showSingleVideoDialog() override;
    void showPlaylistEditor() override;
    void showSplash() override {}
    void showSocialDialog() override {}
    void showQuickHelp(int) override {}
    void showCodeWindow(const QString&, const QString&) override {}
    // Nothing here can cancel the file work: it goes on to its end.
    void beginFileWork(const FileWorkPlan&) override {}
    bool fileWorkProgress(int, qint64, qint64) override { return true; }
    // Runs the injector, its output streamed to standard error; a failure is reported there and
    // the run goes on, the video being remembered in `failedInjections`.
    bool runInjection(int index, const QString& commandLine) override;
    void endFileWork() override {}
    void focusControl(const QString&) override {}
    void bringTabToFront(int) override {}
    void setBusy(bool) override {}
    void openWithDefaultProgram(const QString&) override {}

  private:
    Dialogs& m_dialogs;
};
