#pragma once

#include <QImage>
#include <QMap>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "appearance/IntroOutroImages.h"
#include "appearance/PlayerSizes.h"
#include "generate/GenerationSnapshot.h"
#include "generate/ValidationHost.h"
#include "media/Playlist.h"
#include "models/MainWindowModel.h"
#include "platform/AppPaths.h"
#include "settings/AdvancedOptions.h"

class Clock;
class LocalPreview;
class Dialogs;
class RandomSource;
class PlaylistEditorModel;
class SingleVideoDialogModel;
class Views;

// The application: the main window's state and commands, the dialogs whose contents live for the
// whole run (single video, playlist, advanced options), the skin and size lists, and the last
// generation snapshot. Every front end drives the program through this class.
class MainController : public ValidationHost {
  public:
    // Stopped: a check of the request (or a missing source file) stopped the run before anything
    // was written. Cancelled: the user cancelled the run's file work.
    enum class GenerateOutcome { Completed, Stopped, Failed, Cancelled };

    MainController(AppPaths paths, Dialogs& dialogs, Views& views, const Clock& clock,
                   RandomSource& random);
    ~MainController() override;

    // The start-up steps that set the defaults: skin list and first skin with its palette, player
    // sizes, advanced options, and the single-video choice with its warning marker. False when the
    // installation has no skin: that is reported and nothing can be generated.
    bool loadInstallation();

    MainWindowModel& window() { return m_window; }
    Dialogs& dialogs() { return m_dialogs; }
    Views& views() { return m_views; }
    SingleVideoDialogModel& singleVideo() { return *m_single; }
    PlaylistEditorModel& playlistEditor() { return *m_editor; }
    // What generation reads of the playlist editor.
    const Playlist& playlist() const override;
    AdvancedOptions& advancedOptions() { return m_advanced; }
    const PlayerSizes& playerSizes() const { return m_sizes; }
    const QStringList& skins() const { return m_skins; }
    QString skinName() const;
    const AppPaths& paths() const { return m_paths; }
    // The Preview tab's picture: the skin's preview (swfs/NAME.jpg) with the chosen tint on its
    // control bar; null when the skin has no preview picture.
    QImage skinPreview() const;
    const GenerationSnapshot& snapshot() const { return m_snapshot; }
    // cmdTest: where a browser finds the local test page, served from this computer (the server
    // starts on first use and lives as long as the program); empty when no port could be had.
    QString localTestPageAddress();

    // cmbPlayerStyle_Click: a different skin applies its palette. Error 9 outside the list.
    void selectSkin(int index);
    // cmbPlayerSize_Click. Error 9 outside the list; a malformed entry keeps the previous size.
    void selectPlayerSize(int index);
    // After the sizes dialog: the list again from the sizes file, entry 0 selected. A file that
    // cannot be read, or holds no entry, is reported and the previous list and size stay in use.
    void reloadPlayerSizes();
    // txtPlayerColor_Change: the swatch and the generation value follow the text.
    void setPlayerColorText(const QString& text);
    void setPlayerColorNumber(quint32 number);
    void applyPalette();
    // pctPlayerColorTint_Click: the colour text becomes the box's colour.
    void clickTintBox(int index);
    // cmdChangePlayerColor_Click and txtPlayerColor_DblClick: the colour dialog.
    void chooseTint();

    // The intro and outro images: cmdIntroImage_Click (also cmdIntroImage2 and a double click on
    // the preview), cmdClearIntroImage_Click, cmdShowIntroImage_Click, and the outro ones. A chosen
    // image brings its tab forward.
    void chooseImage(IntroOutroImages::Kind kind);
    void clearImage(IntroOutroImages::Kind kind);
    void showImage(IntroOutroImages::Kind kind);
    void chooseIntroImage() { chooseImage(IntroOutroImages::Kind::Intro); }
    void clearIntroImage() { clearImage(IntroOutroImages::Kind::Intro); }
    void showIntroImage() { showImage(IntroOutroImages::Kind::Intro); }
    void chooseOutroImage() { chooseImage(IntroOutroImages::Kind::Outro); }
    void clearOutroImage() { clearImage(IntroOutroImages::Kind::Outro); }
    void showOutroImage() { showImage(IntroOutroImages::Kind::Outro); }
    // The size of the window's preview boxes, for the previews made from now on.
    void setImagePreviewSize(QSize size) { m_images.setPreviewSize(size); }
    const IntroOutroImages& images() const { return m_images; }

    // Applies a profile file line by line, each as its control's change. Raises
    // AppError, after which settings applied before the failing line stay applied, and
    // ProfileValueError for a file refused as a whole before anything changed.
    // `overrides` (values by line number) take the place of the file's lines, or are applied
    // after them in line order when the file is shorter; they are checked as the file's lines.
    void readProfile(const QString& path, const QMap<int, QString>& overrides = {});

    // A playlist file opened from outside the editor (the command line): the main window switches
    // to a playlist and the editor is shown with the file loaded, as if the user had chosen
    // playlists, opened the editor and loaded the file there. Raises AppError or
    // PlaylistFileError, before anything changed, for a file that cannot be loaded.
    void openPlaylist(const QString& path);

    // How the desktop opens a file, folder or address; false when no program took it.
    using Opener = std::function<bool(const QString&)>;
    // cmdSaveCodeInst ("&Open Output Folder"): the run's online test page shown in its folder.
    // When nothing can open it, the user is told which folder could not be opened.
    void openOutputFolder(const Opener& show);
    // Help -> "&Documentation": the documentation page; when nothing can open it, the user is
    // told which page could not be opened.
    void openDocumentation(const Opener& open);
    // The support, social and About pages; when nothing can open one, the user is told which.
    void openWebPage(const QString& address, const Opener& open);

    // cmdVideoFiles_Click.
    void selectVideoFiles();
    // cmdGenerate_Click.
    GenerateOutcome generate();

    // ValidationHost
    const ProjectSettings& settings() const override { return m_window.settings(); }
    bool videoFilesStatusVisible() const override { return m_window.videoFilesStatusVisible(); }
    const CaptionTracks& singleVideoCaptions() const override;
    void setAudioLevel(const QString& text) override {
        m_window.change(&ProjectSettings::AudioLevel, text);
    }
    void setServerPath(const QString& text) override {
        m_window.change(&ProjectSettings::ServerPath, text);
    }
    void setVideoPath(const QString& text) override {
        m_window.change(&ProjectSettings::VideoPath, text);
    }
    void showVideoFilesDialog() override;
    void chooseOutputFolder() override { m_window.chooseOutputFolder(); }

  private:
    // The rules of the settings that read the installation, handed to the window's model.
    void takeInstallationRules();
    void loadAdvancedOptions();
    void takePlayerSizes(const QStringList& entries);
    // Both images rendered again from their source files at the size in force.
    void reloadImages();

    AppPaths m_paths;
    Dialogs& m_dialogs;
    Views& m_views;
    const Clock& m_clock;
    RandomSource& m_random;
    MainWindowModel m_window;
    std::unique_ptr<SingleVideoDialogModel> m_single;
    std::unique_ptr<PlaylistEditorModel> m_editor;
    AdvancedOptions m_advanced;
    PlayerSizes m_sizes;
    QStringList m_skins;
    GenerationSnapshot m_snapshot;
    IntroOutroImages m_images;
    std::unique_ptr<LocalPreview> m_preview;
};
