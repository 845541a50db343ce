#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <array>

#include "platform/AppPaths.h"
#include "settings/ProjectSettings.h"

class AppError;
class Dialogs;

// The intro image (shown before playback) and the outro image (shown after the video), each
// rendered to the player's size into the scratch folder, where generation picks the JPEG up. A set
// is either empty (no name, no path, no rendered files) or chosen (name, path, preview and
// rendered JPEG); every operation leaves it in one of these two states.
class IntroOutroImages {
  public:
    enum class Kind { Intro, Outro };

    IntroOutroImages(AppPaths paths, Dialogs& dialogs);

    // The size of the window's preview boxes; later previews use it.
    void setPreviewSize(QSize size) { m_previewSize = size; }

    // The open-file dialog, then preview and rendering of the chosen picture into `canvas`
    // (player size + 2). False on cancel, or when the file is refused: a file that is not a
    // readable JPEG (or not a regular file at all) is reported, with the cause on a line of its
    // own, and the previous choice stays as it was.
    bool choose(Kind kind, ProjectSettings& settings, QSize canvas);
    // Empties the set. A rendered file that cannot be deleted (open in a viewer) stays behind;
    // it is no longer part of the set and the scratch folder is emptied at the next start.
    void clear(Kind kind, ProjectSettings& settings);
    // Renders a chosen set again from its source file, for a new player size or a loaded profile.
    // A source that has gone or cannot be read is reported, and the set is emptied.
    void reload(Kind kind, ProjectSettings& settings, QSize canvas);

    const QImage& preview(Kind kind) const { return m_previews[index(kind)]; }
    QString renderedBitmap(Kind kind) const;
    QString renderedJpeg(Kind kind) const;

  private:
    static int index(Kind kind) { return kind == Kind::Intro ? 0 : 1; }
    static QString& nameOf(Kind kind, ProjectSettings& settings);
    static QString& pathOf(Kind kind, ProjectSettings& settings);
    static QString word(Kind kind);
    QString scratch(const QString& name) const;

    bool isWorkFile(const QString& path) const;
    // Preview and rendered files from the source at `path`; raises AppError.
    void render(Kind kind, const QString& path, QSize canvas);
    // Reports `error` about the source `path` and empties the set.
    void drop(Kind kind, ProjectSettings& settings, const QString& path, const AppError& error);

    AppPaths m_paths;
    Dialogs& m_dialogs;
    QSize m_previewSize{320, 180};
    std::array<QImage, 2> m_previews;
};
