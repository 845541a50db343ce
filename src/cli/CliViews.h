#pragma once

#include <functional>

#include "platform/Views.h"

// vidlark-cli shows no windows: a modal dialog is closed at once with its Cancel, and the code
// window's contents are kept for printing.
class CliViews : public Views {
  public:
    std::function<void()> cancelSingleVideoDialog;
    std::function<void()> cancelPlaylistEditor;

    void showSingleVideoDialog() override;
    void showPlaylistEditor() override;
    void showSplash() override {}
    void showSocialDialog() override {}
    void showQuickHelp(int) override {}
    void showCodeWindow(const QString&, const QString&) override {}
    void showInjection(const QString&) override {}
    void focusControl(const QString&) override {}
    void bringTabToFront(int) override {}
    void setBusy(bool) override {}
};
