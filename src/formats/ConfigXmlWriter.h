#pragma once

#include <QString>
#include <QStringList>

#include "formats/GenerationContext.h"

// Writes zevoconfigsv.xml, the file the Flash skin loads at play time for its options and its list
// of videos (the HTML5 scripts read a few of its elements too). A run writes it twice: the upload
// copy in the output folder and the local-test copy in the application's temp folder, whose
// server-only values are neutralised so the local test page plays from disk.
class ConfigXmlWriter {
  public:
    // Draws the run's video-mode code, stores it in the snapshot and writes the upload copy.
    static void writeConfigXml(const GenerationContext& ctx);
    // The local-test copy; repeats the code drawn by writeConfigXml in the same run.
    static void writeTestConfigXml(const GenerationContext& ctx);

    static QStringList lines(const GenerationContext& ctx, bool testCopy);

    // The RTMP stream name of a playlist row's Flash file: "mp4:" or "f4v:" before MP4 and F4V
    // files (case-sensitive), otherwise the name without its four-character extension.
    static QString playlistRtmpStreamName(const QString& flashFile);

    static QString testCopyFolder(const GenerationContext& ctx);
};
