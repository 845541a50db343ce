#pragma once

#include <QString>

// What the application controller asks of the windows. The desktop program shows real windows;
// vidlark-cli and the tests answer without any.
class Views {
  public:
    virtual ~Views() = default;

    // Modal dialogs that own a video selection; they return when the dialog is hidden again.
    virtual void showSingleVideoDialog() = 0;
    virtual void showPlaylistEditor() = 0;
    // The splash window, modal; it closes itself after 2000 ms.
    virtual void showSplash() = 0;
    // The social-sharing dialog frmSocial, modal.
    virtual void showSocialDialog() = 0;
    // Quick help: 1 HTML files path, 2 video files path, 3 video files.
    virtual void showQuickHelp(int topic) = 0;
    // The result of a run; returns when the user closes the code window.
    virtual void showCodeWindow(const QString& embedCode, const QString& instructions) = 0;
    // Runs the metadata injector with this command line in the injection window; returns when the
    // injector has finished. A failure is reported there and does not end the run.
    virtual void showInjection(const QString& commandLine) = 0;
    // Progress of copying a (large) file of the run; `done` equals `total` at the end.
    virtual void showCopyProgress(const QString& fileName, qint64 done, qint64 total) = 0;
    // Moves the keyboard focus to the control of that objectName ("txtServerPath").
    virtual void focusControl(const QString& name) = 0;
    // Tabs of the main window: 0 Marketing, 1 Preview, 2 Intro Image, 3 Outro Image.
    virtual void bringTabToFront(int index) = 0;
    virtual void setBusy(bool busy) = 0;
    // Opens a file with the program the desktop associates with it; nothing is reported back.
    virtual void openWithDefaultProgram(const QString& path) = 0;
};
