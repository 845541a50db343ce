#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "platform/FileWorkPlan.h"
#include "platform/Views.h"

// Records what the controller asked of the windows, as short entries in one log
// ("singleVideoDialog", "help:1", "focus:txtServerPath", "tab:0", "busy:1", "codeWindow",
// "inject:<command line>").
// Tests can hook the modal dialogs to act as the user would inside them, and answer the file
// work's reports as a user pressing Cancel would.
class FakeViews : public Views {
  public:
    QStringList log;
    QString shownEmbedCode;
    QString shownInstructions;
    std::function<void()> onSingleVideoDialog;
    std::function<void()> onPlaylistEditor;
    std::function<void()> onSocialDialog;

    void showSingleVideoDialog() override;
    void showPlaylistEditor() override;
    void showSplash() override { log.append(QStringLiteral("splash")); }
    void showSocialDialog() override;
    void showQuickHelp(int topic) override;
    void showCodeWindow(const QString& embedCode, const QString& instructions) override;

    // The file work. Its reports are kept apart from `log` ("3:1024/4096" for step 3), as how
    // many a copy gives depends on its size; "begin" and "end" frame them.
    void beginFileWork(const FileWorkPlan& plan) override;
    bool fileWorkProgress(int index, qint64 done, qint64 total) override;
    bool runInjection(int index, const QString& commandLine) override;
    void endFileWork() override { fileWork.append(QStringLiteral("end")); }
    QStringList fileWork;
    QList<FileWorkStep> plannedSteps;
    // The user's answer to a report; without it the work goes on.
    std::function<bool(int index, qint64 done, qint64 total)> onFileWorkProgress;
    // The user's answer while an injection runs; without it the injection completes.
    std::function<bool(int index)> onInjection;

    void focusControl(const QString& name) override;
    void bringTabToFront(int index) override;
    void setBusy(bool busy) override;
    void openWithDefaultProgram(const QString& path) override {
        log.append(QStringLiteral("open:") + path);
    }
};
