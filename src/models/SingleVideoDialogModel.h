#pragma once

#include <QString>
#include <optional>

#include "media/SingleVideo.h"
#include "models/VideoFilesDialogModel.h"

class Dialogs;
class SelectionHost;
class Views;

// The dialog frmVideoFilesSingle without its widgets: the one video of a single-video project,
// the HTML5 mirror chkHtml5 and the enabled states of its buttons. The dialog lives for the whole
// run and is only ever hidden, so what is chosen here stays in force for every generation.
class SingleVideoDialogModel : public VideoFilesDialogModel {
  public:
    SingleVideoDialogModel(SelectionHost& host, Dialogs& dialogs, Views& views);

    // Runs every time the dialog is shown: brings Html5Files in line with the main window
    // (Rtmp mode has no HTML5 fallback) and the buttons with Html5Files.
    void show() override;

    // cmdFLVFile. Another file than the one in use is another video: its caption tracks and an
    // Mp4 or WebM file whose name does not match the new file's are dropped.
    void chooseFlashFile();
    void chooseMp4File();   // cmdMp4File
    void chooseWebmFile();  // cmdWebmFile
    // Select a file without asking, exactly as choosing it with cmdMp4File or cmdWebmFile does: the
    // HTML5 copy that was just made of the Flash file.
    void useMp4File(const QString& path);
    void useWebmFile(const QString& path);
    // "Make from Flash video": an Mp4 (or WebM) copy beside the Flash file, chosen as the Mp4 (or
    // WebM) file once it is there; nothing when the command is not enabled.
    void makeFromFlash(Html5Format format, const Html5CopyRunner& runner);

    // Derives FlvVideoFileNameRTMP from the Flash file name. A name too short to carry an
    // extension is reported with the common error message and the previous stream name stays.
    void buildRTMPFilename();

    // The video's caption tracks, in order (the first is the default one). The chooser adds
    // ".vtt" and ".srt" files: each is read first, and one that cannot be used is reported with
    // its line and left out. Its language comes from a name such as "clip.en.vtt".
    void addCaptionFiles();
    // Adds a track as it is, without asking: the command line's --captions.
    void addCaption(const CaptionTrack& track);
    void removeCaption(int index);
    // Control characters never reach the configuration file: they are dropped as typed.
    void setCaptionLanguage(int index, const QString& language);
    void setCaptionLabel(int index, const QString& label);

    // True when the selection is complete. Unless silent, explains what is missing and opens
    // the file choice for it; the answer stays false even if the user then picks a file.
    bool checkData(bool silent) override;

    const SingleVideo& video() const { return m_video; }
    bool mp4FileEnabled() const { return fileButtonsEnabled(); }
    bool webmFileEnabled() const { return fileButtonsEnabled(); }
    // "Make from Flash video": HTML5 on and a Flash file chosen that is not an MP4 already.
    bool makeFromFlashEnabled() const;
    // The same for a WebM copy, which an MP4 chosen as the Flash video can be made into too.
    bool makeWebmFromFlashEnabled() const;

  private:
    struct ChosenFile {
        QString path;
        QString name;
        QString folder;  // ends in its separator
    };

    std::optional<ChosenFile> chooseFile(const QString& title, const QString& filter);
    static ChosenFile split(const QString& path);
    // After the Flash file changed to another one: what belonged to the previous video goes.
    void dropWhatBelongsToAnotherVideo();

    SingleVideo m_video;
};
