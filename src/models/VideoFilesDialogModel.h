#pragma once

#include <QList>

#include "convert/Html5Format.h"
#include "media/CaptionTrack.h"
#include "media/Html5CopyBatch.h"
#include "media/Html5CopyJob.h"

class Dialogs;
class SelectionHost;
class Views;

// What the two video-selection dialogs (single video and playlist) share: the read-only HTML5
// mirror chkHtml5 and the Mp4/WebM buttons that follow it, and the way the dialog closes. Both
// live for the whole run and are only ever hidden, and the main window's warning marker follows
// whether the selection is complete when they close.
class VideoFilesDialogModel {
  public:
    virtual ~VideoFilesDialogModel() = default;
    VideoFilesDialogModel(const VideoFilesDialogModel&) = delete;
    VideoFilesDialogModel& operator=(const VideoFilesDialogModel&) = delete;

    // True when the selection is complete. Unless silent, explains what is missing.
    virtual bool checkData(bool silent) = 0;
    // Runs every time the dialog is shown.
    virtual void show() = 0;

    void save();          // cmdSave
    void cancel();        // cmdCancel
    void remoteClick();   // Cancel on behalf of the main window
    void closeRequest();  // the window's close box: the dialog is hidden, never destroyed
    void help();          // cmdHelp

    bool html5Files() const { return m_html5Files; }
    bool html5CheckEnabled() const { return m_html5CheckEnabled; }
    // Why chkHtml5 cannot be changed here: it shows the main window's choice.
    QString html5CheckToolTip() const;
    // Why the Mp4 and WebM commands are disabled; empty while HTML5 support lets them work.
    QString html5FilesToolTip() const;
    bool isVisible() const { return m_visible; }

  protected:
    VideoFilesDialogModel(SelectionHost& host, Dialogs& dialogs, Views& views)
        : m_host(host), m_dialogs(dialogs), m_views(views) {}

    // Showing the dialog: Rtmp mode has no HTML5 fallback; other modes copy the main window's
    // choice. The dialog only displays the flag.
    void showHtml5Mirror();
    // Switches the main window's HTML5 choice through its own change handling when it differs.
    void setHtml5Files(bool on);
    bool fileButtonsEnabled() const { return m_fileButtonsEnabled; }
    // The HTML5 copy commands of both dialogs: asks about copies that exist already, has `runner`
    // make the rest, reports the failures, and gives the jobs whose copy is there to be chosen.
    QList<Html5CopyJob> makeCopies(QList<Html5CopyJob> jobs, Html5Format format,
                                   const Html5CopyRunner& runner);
    // The caption files the user picks, each read first: one that cannot be used is reported
    // with its line and left out. The language comes from a name such as "clip.en.vtt".
    CaptionTracks chooseCaptionTracks();
    // An HTML5 copy stays with a new Flash file only when the names match but for the extension
    // ("clip.flv" and "clip.mp4"), as the copy commands name them.
    static bool copyMatchesFlashName(const QString& copyName, const QString& flashName);

    SelectionHost& m_host;
    Dialogs& m_dialogs;
    Views& m_views;
    bool m_visible = false;

  private:
    void closeDialog();

    bool m_html5Files = false;
    bool m_fileButtonsEnabled = false;
    bool m_html5CheckEnabled = false;
};
