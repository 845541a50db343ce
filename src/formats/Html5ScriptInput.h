#pragma once

#include <QString>

// What the HTML5 scripts depend on, the single video's and the playlist's alike; the videos
// themselves come from the configuration file at play time.
struct Html5ScriptInput {
    QString outputFolder{};  // ends in the folder separator
    QString tag{};           // the run's generation tag
    QString serverPath{};    // the scripts fetch the configuration file by its path part
    QString errorHtml5{};    // for browsers without video support
    bool playsInline = false;
    bool autoPlay = false;
    bool mutedAutoPlay = false;  // with auto start, the video starts muted
    bool fluidSize = false;
    bool captions = false;  // some video of the run has caption tracks
};
