#pragma once

#include <QString>

class FileWorkPlan;

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
    // The run's file work (copies, injections, mirrors into the scratch folder): announced with
    // its whole plan, then reported step by step, then ended (also when a step failed).
    virtual void beginFileWork(const FileWorkPlan& plan) = 0;
    // Step `index` of the plan has `done` of its `total` bytes behind it (0 of 0: an empty file,
    // done). False when the user asked to stop the work.
    virtual bool fileWorkProgress(int index, qint64 done, qint64 total) = 0;
    // Runs the metadata injector with this command line for step `index`, showing what it prints;
    // returns when it has finished. A failure is reported and does not end the run. False when the
    // user stopped it (the injector was ended; it never leaves the video half-written).
    virtual bool runInjection(int index, const QString& commandLine) = 0;
    virtual void endFileWork() = 0;
    // Moves the keyboard focus to the control of that objectName ("txtServerPath").
    virtual void focusControl(const QString& name) = 0;
    // Tabs of the main window: 0 Marketing, 1 Preview, 2 Intro Image, 3 Outro Image.
    virtual void bringTabToFront(int index) = 0;
    virtual void setBusy(bool busy) = 0;
    // Opens a file with the program the desktop associates with it; nothing is reported back.
    virtual void openWithDefaultProgram(const QString& path) = 0;
};
