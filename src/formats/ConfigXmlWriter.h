#pragma once

#include <QString>
#include <QStringList>

#include "formats/GenerationContext.h"
#include "platform/OutputFile.h"

// Writes zevoconfigsv.xml, the file the Flash skin loads at play time for its options and its list
// of videos (the HTML5 scripts read a few of its elements too). A run writes it twice: the upload
// copy in the output folder and the local-test copy in the application's temp folder, whose
// server-only values are neutralised so the local test page plays from disk.
class ConfigXmlWriter {
  public:
    // The upload copy, in the output folder.
    static OutputFile configXml(const GenerationContext& ctx);
    // The local-test copy; both carry the run's one video-mode code.
    static OutputFile testConfigXml(const GenerationContext& ctx);

    static QStringList lines(const GenerationContext& ctx, bool testCopy);

    // The RTMP stream name of a playlist row's Flash file: "mp4:" or "f4v:" before MP4 and F4V
    // files (case-sensitive), otherwise the name without its four-character extension.
    static QString playlistRtmpStreamName(const QString& flashFile);

    static QString testCopyFolder(const GenerationContext& ctx);
};
