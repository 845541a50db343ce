#include "generate/UploadInstructions.h"

#include "formats/CaptionsAttribute.h"
#include "generate/GenerationContext.h"

QString UploadInstructions::build(const GenerationContext& ctx) {
    const QString nl = QStringLiteral("\r\n");
    QString text = QStringLiteral("Vidlark output folder on your local PC:") + nl +
                   ctx.outputFolder + nl + nl + nl + QStringLiteral("Upload Vidlark files to:") +
                   nl + ctx.snapshot.ServerPath + nl;
    const QString typedVideoPath = ctx.settings.VideoPath;
    if (!typedVideoPath.trimmed().isEmpty() || typedVideoPath.contains(QLatin1String("rtmp")))
        // The players ask for the caption files in the video folder.
        text += nl +
                (CaptionsAttribute::anyTracks(ctx.isPlaylist(), ctx.single, ctx.playlist)
                     ? QStringLiteral("Upload video files and caption files (.vtt) to:")
                     : QStringLiteral("Upload video files to:")) +
                nl + ctx.snapshot.VideoPath + nl;
    else
        text += nl + nl;
    text += nl + nl +
            QStringLiteral(
                "You can test the video player by playing onlinetest.html from your website");
    return text;
}
