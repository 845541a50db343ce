#pragma once

#include <QString>

#include "media/CaptionTrack.h"

// The one video of a single-video project. Folders end in the folder separator.
struct SingleVideo {
    QString FlvVideoFilePath;
    QString FlvVideoFileName;
    QString FlvVideoFilePathOnly;
    QString FlvVideoFileNameRTMP;
    QString Mp4VideoFilePath;
    QString Mp4VideoFileName;
    QString Mp4VideoFilePathOnly;
    QString WebmVideoFilePath;
    QString WebmVideoFileName;
    QString WebmVideoFilePathOnly;
    CaptionTracks Captions{};  // copied beside the videos as WebVTT
};
