#pragma once

#include <QString>
#include <optional>

#include "media/SingleVideo.h"

class Dialogs;
class SelectionHost;
class Views;

// The dialog frmVideoFilesSingle without its widgets: the one video of a single-video project,
// the HTML5 mirror chkHtml5 and the enabled states of its buttons. The dialog lives for the whole
// run and is only ever hidden, so what is chosen here stays in force for every generation.
class SingleVideoSelection {
  public:
    SingleVideoSelection(SelectionHost& host, Dialogs& dialogs, Views& views);

    // Runs every time the dialog is shown: brings Html5Files in line with the main window
    // (Rtmp mode has no HTML5 fallback) and the buttons with Html5Files.
    void show();

    void chooseFlashFile();  // cmdFLVFile
    void chooseMp4File();    // cmdMp4File
    void chooseWebmFile();   // cmdWebmFile

    // Derives FlvVideoFileNameRTMP from the Flash file name. A name too short to carry an
    // extension is reported with the common error message and the previous stream name stays.
    void buildRTMPFilename();

    // True when the selection is complete. Unless silent, explains what is missing and opens
    // the file choice for it; the answer stays false even if the user then picks a file.
    bool checkData(bool silent);

    void save();          // cmdSave
    void cancel();        // cmdCancel
    void remoteClick();   // Cancel on behalf of the main window
    void closeRequest();  // the window's close box: the dialog is hidden, never destroyed
    void help();          // cmdHelp

    const SingleVideo& video() const { return m_video; }
    bool html5Files() const { return m_html5Files; }
    bool mp4FileEnabled() const { return m_mp4FileEnabled; }
    bool webmFileEnabled() const { return m_webmFileEnabled; }
    bool html5CheckEnabled() const { return m_html5CheckEnabled; }
    bool isVisible() const { return m_visible; }

  private:
    struct ChosenFile {
        QString path;
        QString name;
        QString folder;  // ends in its separator
    };

    std::optional<ChosenFile> chooseFile(const QString& title, const QString& filter);
    void setHtml5Files(bool on);
    void html5FilesChanged();
    void setFileButtonsEnabled(bool enabled);
    void closeDialog();

    SelectionHost& m_host;
    Dialogs& m_dialogs;
    Views& m_views;
    SingleVideo m_video;
    bool m_html5Files = false;
    bool m_mp4FileEnabled = false;
    bool m_webmFileEnabled = false;
    bool m_html5CheckEnabled = false;
    bool m_visible = false;
};
