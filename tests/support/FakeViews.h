#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "platform/Views.h"

// Records what the controller asked of the windows, as short entries in one log
// ("singleVideoDialog", "help:1", "focus:txtServerPath", "tab:0", "busy:1", "codeWindow",
// "inject:<command line>").
// Tests can hook the modal dialogs to act as the user would inside them.
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
    void showInjection(const QString& commandLine) override;
    // Kept apart from `log`: how many reports a copy gives depends on its size.
    void showCopyProgress(const QString& fileName, qint64 done, qint64 total) override {
        copyProgress.append(QStringLiteral("%1:%2/%3").arg(fileName).arg(done).arg(total));
    }
    QStringList copyProgress;
    void focusControl(const QString& name) override;
    void bringTabToFront(int index) override;
    void setBusy(bool busy) override;
    void openWithDefaultProgram(const QString& path) override {
        log.append(QStringLiteral("open:") + path);
    }
};
