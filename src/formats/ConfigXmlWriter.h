#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "formats/PlayerBox.h"
#include "media/CaptionTrack.h"
#include "media/Playlist.h"
#include "platform/OutputFile.h"

// Makes zevoconfigsv.xml, the file the Flash skin loads at play time for its options and its list
// of videos (the HTML5 scripts read a few of its elements too). A run writes it twice: the upload
// copy in the output folder and the local-test copy in the application's temp folder, whose
// server-only values are neutralised so the local test page plays from disk.
class ConfigXmlWriter {
  public:
    // The user's player options, as typed or chosen.
    struct Options {
        QString videoBuffer{};
        bool autoPlay = false;
        bool autoProgress = false;
        QString introImageName{};  // empty when there is no intro image
        QString outroImageName{};
        bool showBigPlayButton = false;
        QString audioLevel{};
        QString playerColor{};  // six hexadecimal digits
        bool hideControlsFloatingBar = false;
        bool isLive = false;
        bool showEmbedCode = false;
        QString affiliateLink{};
        QString redirectUrl{};
        QString actionCode{};
    };

    // The single video's files as the output folder names them, and its caption tracks.
    struct SingleFiles {
        QString flv{};
        QString flvRtmp{};  // the stream name an RTMP server knows it by
        QString mp4{};
        QString webm{};
        CaptionTracks captions{};
    };

    // What the file depends on.
    struct Input {
        QString outputFolder{};   // of the upload copy; ends in the folder separator
        QString scratchFolder{};  // of the local-test copy, beside the local test page
        QString tag{};            // the run's generation tag
        int videoModeCode = 0;    // the run's one code, in both copies
        QString skinName{};       // the selected skin ("Skin-30-dark")
        bool isRtmp = false;
        bool isPseudo = false;
        bool useHtml5 = false;
        QString serverPath{};  // ends in "/"
        QString videoPath{};   // ends in "/"
        Options options{};
        // The player's size and the playlist's: whether there is one, where and how big. The
        // position, even for a single video, also decides the upload copy's auto progress.
        PlayerBox::Parts box{};
        PlaylistLayout layout = PlaylistLayout::TitleOnly;
        qint16 fontSize = 0;  // of the playlist's items
        SingleFiles single{};
        QList<PlaylistEntry> rows{};  // a playlist's videos
    };

    // The upload copy, in the output folder.
    static OutputFile configXml(const Input& in);
    // The local-test copy; both carry the run's one video-mode code.
    static OutputFile testConfigXml(const Input& in);

    static QStringList lines(const Input& in, bool testCopy);

    // The RTMP stream name of a playlist row's Flash file: "mp4:" or "f4v:" before MP4 and F4V
    // files (case-sensitive), otherwise the name without its four-character extension.
    static QString playlistRtmpStreamName(const QString& flashFile);
};
