#pragma once

#include <QString>
#include <QtGlobal>

struct AdvancedOptions;
struct GenerationSnapshot;
struct Playlist;
struct ProjectSettings;
class Clock;

// Fills the GenerationSnapshot at the start of a run, in the driver's order: sizes, playlist
// dimensions, skin allowance, advanced options, tag, paths and flags. Fields a run does not read
// keep their earlier values. Not-a-number texts raise error 13, 16-bit overflow error 6.
class SnapshotReader {
  public:
    struct Inputs {
        const ProjectSettings& settings;
        const AdvancedOptions& advanced;
        const Playlist& playlist;
        qint16 playerWidth;
        qint16 playerHeight;
        QString skinName;
        const Clock& clock;
    };

    static void read(GenerationSnapshot& snapshot, const Inputs& in);
    static qint16 playlistHeight(const GenerationSnapshot& snapshot, const Playlist& playlist,
                                 bool multiple);
};
