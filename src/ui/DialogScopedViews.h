#pragma once

#include "platform/Views.h"

class QWidget;

// The program's Views as seen from inside a dialog: the focus goes to the dialog's own control of
// that name, so the core can point the user at a box of the dialog that is open. Everything else,
// and names the dialog does not have, go on to the program's Views.
class DialogScopedViews : public Views {
  public:
    DialogScopedViews(Views& views, QWidget& dialog) : m_views(views), m_dialog(dialog) {}

    void showSingleVideoDialog() override { m_views.showSingleVideoDialog(); }
    void showPlaylistEditor() override { m_views.showPlaylistEditor(); }
    void showSplash() override { m_views.showSplash(); }
    void showSocialDialog() override { m_views.showSocialDialog(); }
    void showQuickHelp(int topic) override { m_views.showQuickHelp(topic); }
    void showCodeWindow(const QString& embedCode, const QString& instructions) override {
        m_views.showCodeWindow(embedCode, instructions);
    }
    void beginFileWork(const FileWorkPlan& plan) override { m_views.beginFileWork(plan); }
    bool fileWorkProgress(int index, qint64 done, qint64 total) override {
        return m_views.fileWorkProgress(index, done, total);
    }
    bool runInjection(int index, const QString& commandLine) override {
        return m_views.runInjection(index, commandLine);
    }
    void endFileWork() override { m_views.endFileWork(); }
    void focusControl(const QString& name) override;
    void bringTabToFront(int index) override { m_views.bringTabToFront(index); }
    void setBusy(bool busy) override { m_views.setBusy(busy); }
    void openWithDefaultProgram(const QString& path) override {
        m_views.openWithDefaultProgram(path);
    }

  private:
    Views& m_views;
    QWidget& m_dialog;
};
