#pragma once

#include <QString>

#include "media/Playlist.h"
#include "settings/ProjectSettings.h"

// What the checks of a generate request read and rewrite on the main window. Rewrites go through
// the window's own change handling, as typing would.
class ValidationHost {
  public:
    virtual ~ValidationHost() = default;
    virtual const ProjectSettings& settings() const = 0;
    // The playlist editor's playlist, generated for a playlist project.
    virtual const Playlist& playlist() const = 0;
    // The caption tracks of the single video, generated for a single-video project.
    virtual const CaptionTracks& singleVideoCaptions() const = 0;
    virtual bool videoFilesStatusVisible() const = 0;
    virtual void setAudioLevel(const QString& text) = 0;
    virtual void setServerPath(const QString& text) = 0;
    virtual void setVideoPath(const QString& text) = 0;
    // The single-video dialog or the playlist editor, whichever the current choice is; modal.
    virtual void showVideoFilesDialog() = 0;
    // cmdOutput_Click.
    virtual void chooseOutputFolder() = 0;
};
