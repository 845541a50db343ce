#pragma once

#include <QString>
#include <functional>
#include <optional>

#include "media/PlaylistFile.h"

class Dialogs;

// The playlist editor's "&Save Playlist as File" and "&Load Playlist from File" as far as they
// ask the user and touch the file: the file choice, the ".plf" file read or written whole, and
// the messages either gives. What the playlist then is stays the editor's.
class PlaylistFileCommands {
  public:
    struct Loaded {
        PlaylistFile::Contents contents;
        QString path;
    };
    // Called with a grid cell (row from 1) whose value the file cannot hold.
    using PointAt = std::function<void(int row, int column)>;

    explicit PlaylistFileCommands(Dialogs& dialogs) : m_dialogs(dialogs) {}

    // The file to save into; none when the user cancels.
    std::optional<QString> chooseSaveFile();
    // Writes the playlist and says so; false after the message of a refusal, with the cell it
    // names handed to `pointAt`.
    bool write(const QString& path, const Playlist& playlist, bool html5Files,
               const PointAt& pointAt);
    // The file the user chose, read whole before anything changes, so a bad file costs the user
    // nothing; none on a cancel or after the message of a failure.
    std::optional<Loaded> load();

  private:
    Dialogs& m_dialogs;
};
