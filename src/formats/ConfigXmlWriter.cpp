#include "formats/ConfigXmlWriter.h"

#include <QtGlobal>

#include "formats/CaptionsAttribute.h"
#include "formats/Escaping.h"
#include "platform/Int16.h"
#include "platform/ScratchFolder.h"

namespace {

const QString FileName = QStringLiteral("zevoconfigsv.xml");
const QString No = QStringLiteral("No");

QString yesNo(bool value) {
    return value ? QStringLiteral("Yes") : No;
}

// Every value goes through the escaping, so a typed "&" or "<" cannot break the file; numbers and
// the fixed words come out unchanged.
QString element(const QString& name, const QString& value) {
    return u'<' + name + u'>' + Escaping::xmlText(value) + QStringLiteral("</") + name + u'>';
}

QString attribute(const QString& name, const QString& value) {
    return name + QStringLiteral("=\"") + Escaping::xmlAttribute(value) + u'"';
}

QString number(qint16 value) {
    return QString::number(value);
}

bool playlistAt(const GenerationContext& ctx, PlaylistPosition position) {
    return ctx.isPlaylist() && ctx.playlist.position == position;
}

bool visiblePlaylist(const GenerationContext& ctx) {
    return playlistAt(ctx, PlaylistPosition::Right) || playlistAt(ctx, PlaylistPosition::Bottom);
}

QString deliveryMode(const GenerationContext& ctx, bool testCopy) {
    if (!testCopy && ctx.snapshot.IsRtmp)
        return QStringLiteral("Rtmp");
    if (!testCopy && ctx.snapshot.IsPseudo)
        return QStringLiteral("Pseudo");
    return QStringLiteral("Progressive");
}

// The upload copy points at the uploaded image; the local test page finds it beside itself.
QString imageValue(const GenerationContext& ctx, const QString& name, bool testCopy) {
    if (name.isEmpty())
        return No;
    return testCopy ? name : ctx.snapshot.ServerPath + name;
}

// Floating-bar skins read a trailing "y"/"n" after the tint to know whether to hide the bar.
QString tintValue(const GenerationContext& ctx, bool testCopy) {
    QString value = QStringLiteral("0x") + ctx.settings.PlayerColor;
    if (!testCopy && ctx.skinName.contains(QStringLiteral("float")))
        value += ctx.advanced.HideControlsFloatingBar ? u'y' : u'n';
    return value;
}

// For a playlist at the right the player reads the total width followed directly by the list's
// width, and splits them itself.
QString totalWidth(const GenerationContext& ctx) {
    const GenerationSnapshot& s = ctx.snapshot;
    if (!playlistAt(ctx, PlaylistPosition::Right))
        return number(s.PlayerWidth);
    return number(Int16::add(s.PlayerWidth, s.WidthPlaylist)) + number(s.WidthPlaylist);
}

QString totalHeight(const GenerationContext& ctx) {
    const GenerationSnapshot& s = ctx.snapshot;
    const qint16 below = playlistAt(ctx, PlaylistPosition::Bottom) ? s.PlaylistHeight : 0;
    return number(Int16::add(s.SkinAllowance, s.PlayerHeight, below));
}

QString layoutValue(PlaylistLayout layout) {
    switch (layout) {
        case PlaylistLayout::TitleDesc:
            return QStringLiteral("Desc");
        case PlaylistLayout::TitleDescThumb:
            return QStringLiteral("Thumb");
        case PlaylistLayout::TitleOnly:
            break;
    }
    return QStringLiteral("None");
}

QString positionValue(const GenerationContext& ctx) {
    if (playlistAt(ctx, PlaylistPosition::Right))
        return QStringLiteral("Right");
    if (playlistAt(ctx, PlaylistPosition::Bottom))
        return QStringLiteral("Bottom");
    return No;
}

QString typedOrNo(const QString& text) {
    return text.trimmed().isEmpty() ? No : text;
}

// The end-of-video scripts recognise "javascript:hfd<tag>()" and call that function.
QString endOfVideoAction(const GenerationContext& ctx) {
    if (!ctx.settings.RedirectURL.trimmed().isEmpty())
        return ctx.settings.RedirectURL;
    if (!ctx.settings.ActionCode.trimmed().isEmpty())
        return QStringLiteral("javascript:hfd") + ctx.snapshot.GenerationTag + QStringLiteral("()");
    return No;
}

QStringList playerOptionLines(const GenerationContext& ctx, bool testCopy) {
    const ProjectSettings& p = ctx.settings;
    const bool autoProgress =
        p.AutoProgress || (!testCopy && ctx.playlist.position == PlaylistPosition::Invisible);
    return {
        element(QStringLiteral("aa"), QString::number(ctx.snapshot.VideoModeCode)),
        element(QStringLiteral("bb"), deliveryMode(ctx, testCopy)),
        element(QStringLiteral("cc"), ctx.advanced.VideoBuffer),
        element(QStringLiteral("dd"), yesNo(p.AutoPlay)),
        element(QStringLiteral("ee"), yesNo(autoProgress)),
        element(QStringLiteral("ff"), imageValue(ctx, p.IntroImageName, testCopy)),
        element(QStringLiteral("gg"), imageValue(ctx, p.OutroImageName, testCopy)),
        element(QStringLiteral("hh"), yesNo(p.ShowBigPlayButton)),
        element(QStringLiteral("ii"), p.AudioLevel),
        element(QStringLiteral("jj"), tintValue(ctx, testCopy)),
    };
}

QStringList layoutOptionLines(const GenerationContext& ctx) {
    return {
        element(QStringLiteral("kk"), totalWidth(ctx)),
        element(QStringLiteral("ll"), totalHeight(ctx)),
        element(QStringLiteral("mm"), yesNo(visiblePlaylist(ctx))),
        element(QStringLiteral("nn"), layoutValue(ctx.playlist.layout)),
        element(QStringLiteral("oo"), positionValue(ctx)),
        element(QStringLiteral("pp"), number(ctx.snapshot.PlaylistHeight)),
    };
}

QStringList serverOptionLines(const GenerationContext& ctx, bool testCopy) {
    const ProjectSettings& p = ctx.settings;
    const GenerationSnapshot& s = ctx.snapshot;
    if (testCopy)
        return {
            element(QStringLiteral("qq"), No),
            element(QStringLiteral("rr"), No),
            element(QStringLiteral("ss"), No),
            element(QStringLiteral("tt"), ConfigXmlWriter::testCopyFolder(ctx)),
            element(QStringLiteral("uu"), No),
            element(QStringLiteral("vv"), No),
        };
    return {
        element(QStringLiteral("qq"), s.IsRtmp ? s.VideoPath : No),
        element(QStringLiteral("rr"), yesNo(s.IsRtmp && p.IsLive)),
        element(QStringLiteral("ss"), yesNo(p.ShowEmbedCode)),
        element(QStringLiteral("tt"), s.ServerPath),
        element(QStringLiteral("uu"), typedOrNo(p.AffiliateLink)),
        element(QStringLiteral("vv"), endOfVideoAction(ctx)),
    };
}

QStringList listStyleLines(const GenerationContext& ctx) {
    const bool dark = ctx.skinName.contains(QStringLiteral("dark"));
    return {
        element(QStringLiteral("ab"), number(ctx.snapshot.PlayListFontSize)),
        element(QStringLiteral("ac"), dark ? QStringLiteral("000") : QStringLiteral("fff")),
    };
}

// Only the uploaded page has an HTML5 fallback that reads these.
QStringList html5Lines(const GenerationContext& ctx, bool testCopy) {
    const GenerationSnapshot& s = ctx.snapshot;
    if (testCopy || !s.UseHtml5)
        return {};
    QStringList lines{element(QStringLiteral("ww"), number(s.PlayerWidth)),
                      element(QStringLiteral("xx"), number(s.PlayerHeight))};
    if (visiblePlaylist(ctx))
        lines << element(QStringLiteral("yy"), s.ServerPath + QStringLiteral("thumbs/"));
    return lines;
}

// The HTML5 sources ride along only where the uploaded page can play them over HTTP.
bool withHtml5Sources(const GenerationContext& ctx, bool testCopy) {
    return !testCopy && ctx.snapshot.UseHtml5 && !ctx.snapshot.IsRtmp;
}

QString flashSource(const GenerationContext& ctx, const QString& fileName, bool testCopy) {
    if (testCopy || ctx.snapshot.IsPseudo)
        return fileName;
    return ctx.snapshot.VideoPath + fileName;
}

QString html5Sources(const GenerationContext& ctx, const QString& mp4, const QString& webm) {
    // The HTML5 player hands these to the browser as they are; the folder part is an address the
    // user typed, the name part a file name that may hold what an address reads differently.
    const QString& path = ctx.snapshot.VideoPath;
    return QStringLiteral("  ") +
           attribute(QStringLiteral("v2"), path + Escaping::addressFileName(mp4)) +
           QStringLiteral("  ") +
           attribute(QStringLiteral("v3"), path + Escaping::addressFileName(webm));
}

// Last on a video's line, and only for a video with captions, so other lines stay as they were.
// The local test page finds the caption files beside itself, as it does the videos. An RTMP
// server streams only the videos: there the caption files are fetched over HTTP from the server
// path, with the rest of the uploaded output folder.
QString captionsAttribute(const GenerationContext& ctx, const CaptionTracks& tracks,
                          bool testCopy) {
    if (tracks.isEmpty())
        return {};
    const QString folder = testCopy              ? QString()
                           : ctx.snapshot.IsRtmp ? ctx.snapshot.ServerPath
                                                 : ctx.snapshot.VideoPath;
    return u' ' + attribute(QStringLiteral("cc"), CaptionsAttribute::value(tracks, folder));
}

QString singleVideoLine(const GenerationContext& ctx, bool testCopy) {
    const SingleVideo& v = ctx.single;
    if (!testCopy && ctx.snapshot.IsRtmp)
        return QStringLiteral("<video  ") +
               attribute(QStringLiteral("v1"), v.FlvVideoFileNameRTMP) +
               captionsAttribute(ctx, v.Captions, testCopy) + QStringLiteral("/>");
    QString line = QStringLiteral("<video ") + attribute(QStringLiteral("title"), QString()) +
                   u' ' +
                   attribute(QStringLiteral("v1"), flashSource(ctx, v.FlvVideoFileName, testCopy));
    if (withHtml5Sources(ctx, testCopy))
        line += html5Sources(ctx, v.Mp4VideoFileName, v.WebmVideoFileName);
    return line + captionsAttribute(ctx, v.Captions, testCopy) + QStringLiteral("/>");
}

QString playlistFlashSource(const GenerationContext& ctx, const QString& flashFile, bool testCopy) {
    if (!testCopy && ctx.snapshot.IsRtmp)
        return ConfigXmlWriter::playlistRtmpStreamName(flashFile);
    return flashSource(ctx, flashFile, testCopy);
}

QString playlistVideoLine(const GenerationContext& ctx, const PlaylistEntry& row, bool testCopy) {
    const PlaylistLayout layout = ctx.playlist.layout;
    QString line = QStringLiteral("<video ") + attribute(QStringLiteral("title"), row.Title);
    if (layout != PlaylistLayout::TitleOnly)
        line += u' ' + attribute(QStringLiteral("desc"), row.Description);
    line +=
        u' ' + attribute(QStringLiteral("v1"), playlistFlashSource(ctx, row.FlashFile, testCopy));
    if (withHtml5Sources(ctx, testCopy))
        line += html5Sources(ctx, row.Mp4File, row.WebmFile);
    if (layout == PlaylistLayout::TitleDescThumb)
        line += u' ' + attribute(QStringLiteral("pic"), row.Thumbnail);
    return line + captionsAttribute(ctx, row.Captions, testCopy) + QStringLiteral("/>");
}

QStringList videoLines(const GenerationContext& ctx, bool testCopy) {
    if (!ctx.isPlaylist())
        return {singleVideoLine(ctx, testCopy)};
    QStringList lines;
    for (const PlaylistEntry& row : ctx.playlist.rows)
        lines << playlistVideoLine(ctx, row, testCopy);
    return lines;
}

}  // namespace

OutputFile ConfigXmlWriter::configXml(const GenerationContext& ctx) {
    return OutputFile::ofLines(ctx.outputFolder + FileName, lines(ctx, false));
}

OutputFile ConfigXmlWriter::testConfigXml(const GenerationContext& ctx) {
    return OutputFile::ofLines(testCopyFolder(ctx) + FileName, lines(ctx, true));
}

QString ConfigXmlWriter::testCopyFolder(const GenerationContext& ctx) {
    return ScratchFolder::path(ctx.appFolder);
}

QStringList ConfigXmlWriter::lines(const GenerationContext& ctx, bool testCopy) {
    QStringList lines{QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>"),
                      QStringLiteral("<vidlark>"), QStringLiteral("<config>")};
    lines << playerOptionLines(ctx, testCopy) << layoutOptionLines(ctx)
          << serverOptionLines(ctx, testCopy) << listStyleLines(ctx) << html5Lines(ctx, testCopy);
    lines << QStringLiteral("</config>") << QStringLiteral("<files>");
    lines << videoLines(ctx, testCopy);
    lines << QStringLiteral("</files>") << QStringLiteral("</vidlark>");
    return lines;
}

QString ConfigXmlWriter::playlistRtmpStreamName(const QString& flashFile) {
    if (flashFile.endsWith(QStringLiteral("mp4")))
        return QStringLiteral("mp4:") + flashFile;
    if (flashFile.endsWith(QStringLiteral("f4v")))
        return QStringLiteral("f4v:") + flashFile;
    // Too short to carry an extension: nothing to cut.
    if (flashFile.size() < 4)
        return flashFile;
    return flashFile.left(flashFile.size() - 4);
}
