#pragma once

#include <QList>
#include <QString>

// One caption track of a video: the caption file as chosen (".vtt" or ".srt"), its language
// (a BCP 47 tag such as "en" or "pt-BR", may be empty) and the label a player shows for it (may
// be empty). The first track of a video is its default one.
struct CaptionTrack {
    QString path;
    QString language;
    QString label;

    bool operator==(const CaptionTrack&) const = default;
};

using CaptionTracks = QList<CaptionTrack>;
