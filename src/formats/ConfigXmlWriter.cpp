#include "formats/ConfigXmlWriter.h"

#include <QtGlobal>

#include "formats/CaptionsAttribute.h"
#include "formats/Escaping.h"
#include "platform/Int16.h"

namespace {

using Input = ConfigXmlWriter::Input;

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

bool playlistAt(const Input& in, PlaylistPosition position) {
    return in.box.playlist && in.box.position == position;
}

bool visiblePlaylist(const Input& in) {
    return playlistAt(in, PlaylistPosition::Right) || playlistAt(in, PlaylistPosition::Bottom);
}

QString deliveryMode(const Input& in, bool testCopy) {
    if (!testCopy && in.isRtmp)
        return QStringLiteral("Rtmp");
    if (!testCopy && in.isPseudo)
        return QStringLiteral("Pseudo");
    return QStringLiteral("Progressive");
}

// The upload copy points at the uploaded image; the local test page finds it beside itself.
QString imageValue(const Input& in, const QString& name, bool testCopy) {
    if (name.isEmpty())
        return No;
    return testCopy ? name : in.serverPath + name;
}

// Floating-bar skins read a trailing "y"/"n" after the tint to know whether to hide the bar.
QString tintValue(const Input& in, bool testCopy) {
    QString value = QStringLiteral("0x") + in.options.playerColor;
    if (!testCopy && in.skinName.contains(QStringLiteral("float")))
        value += in.options.hideControlsFloatingBar ? u'y' : u'n';
    return value;
}

// For a playlist at the right the player reads the total width followed directly by the list's
// width, and splits them itself.
QString totalWidth(const Input& in) {
    if (!playlistAt(in, PlaylistPosition::Right))
        return number(in.box.playerWidth);
    return number(Int16::add(in.box.playerWidth, in.box.widthPlaylist)) +
           number(in.box.widthPlaylist);
}

QString totalHeight(const Input& in) {
    const qint16 below = playlistAt(in, PlaylistPosition::Bottom) ? in.box.playlistHeight : 0;
    return number(Int16::add(in.box.skinAllowance, in.box.playerHeight, below));
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

QString positionValue(const Input& in) {
    if (playlistAt(in, PlaylistPosition::Right))
        return QStringLiteral("Right");
    if (playlistAt(in, PlaylistPosition::Bottom))
        return QStringLiteral("Bottom");
    return No;
}

QString typedOrNo(const QString& text) {
    return text.trimmed().isEmpty() ? No : text;
}

// The end-of-video scripts recognise "javascript:hfd<tag>()" and call that function.
QString endOfVideoAction(const Input& in) {
    if (!in.options.redirectUrl.trimmed().isEmpty())
        return in.options.redirectUrl;
    if (!in.options.actionCode.trimmed().isEmpty())
        return QStringLiteral("javascript:hfd") + in.tag + QStringLiteral("()");
    return No;
}

QStringList playerOptionLines(const Input& in, bool testCopy) {
    const ConfigXmlWriter::Options& p = in.options;
    const bool autoProgress =
        p.autoProgress || (!testCopy && in.box.position == PlaylistPosition::Invisible);
    return {
        element(QStringLiteral("aa"), QString::number(in.videoModeCode)),
        element(QStringLiteral("bb"), deliveryMode(in, testCopy)),
        element(QStringLiteral("cc"), in.options.videoBuffer),
        element(QStringLiteral("dd"), yesNo(p.autoPlay)),
        element(QStringLiteral("ee"), yesNo(autoProgress)),
        element(QStringLiteral("ff"), imageValue(in, p.introImageName, testCopy)),
        element(QStringLiteral("gg"), imageValue(in, p.outroImageName, testCopy)),
        element(QStringLiteral("hh"), yesNo(p.showBigPlayButton)),
        element(QStringLiteral("ii"), p.audioLevel),
        element(QStringLiteral("jj"), tintValue(in, testCopy)),
    };
}

QStringList layoutOptionLines(const Input& in) {
    return {
        element(QStringLiteral("kk"), totalWidth(in)),
        element(QStringLiteral("ll"), totalHeight(in)),
        element(QStringLiteral("mm"), yesNo(visiblePlaylist(in))),
        element(QStringLiteral("nn"), layoutValue(in.layout)),
        element(QStringLiteral("oo"), positionValue(in)),
        element(QStringLiteral("pp"), number(in.box.playlistHeight)),
    };
}

QStringList serverOptionLines(const Input& in, bool testCopy) {
    const ConfigXmlWriter::Options& p = in.options;
    if (testCopy)
        return {
            element(QStringLiteral("qq"), No), element(QStringLiteral("rr"), No),
            element(QStringLiteral("ss"), No), element(QStringLiteral("tt"), in.scratchFolder),
            element(QStringLiteral("uu"), No), element(QStringLiteral("vv"), No),
        };
    return {
        element(QStringLiteral("qq"), in.isRtmp ? in.videoPath : No),
        element(QStringLiteral("rr"), yesNo(in.isRtmp && p.isLive)),
        element(QStringLiteral("ss"), yesNo(p.showEmbedCode)),
        element(QStringLiteral("tt"), in.serverPath),
        element(QStringLiteral("uu"), typedOrNo(p.affiliateLink)),
        element(QStringLiteral("vv"), endOfVideoAction(in)),
    };
}

QStringList listStyleLines(const Input& in) {
    const bool dark = in.skinName.contains(QStringLiteral("dark"));
    return {
        element(QStringLiteral("ab"), number(in.fontSize)),
        element(QStringLiteral("ac"), dark ? QStringLiteral("000") : QStringLiteral("fff")),
    };
}

// Only the uploaded page has an HTML5 fallback that reads these.
QStringList html5Lines(const Input& in, bool testCopy) {
    if (testCopy || !in.useHtml5)
        return {};
    QStringList lines{element(QStringLiteral("ww"), number(in.box.playerWidth)),
                      element(QStringLiteral("xx"), number(in.box.playerHeight))};
    if (visiblePlaylist(in))
        lines << element(QStringLiteral("yy"), in.serverPath + QStringLiteral("thumbs/"));
    return lines;
}

// The HTML5 sources ride along only where the uploaded page can play them over HTTP.
bool withHtml5Sources(const Input& in, bool testCopy) {
    return !testCopy && in.useHtml5 && !in.isRtmp;
}

// The player opens the address as it is, so the name part is encoded as the HTML5 sources are.
// The seek script's query is the exception: the player encodes the bare name for it itself.
QString flashSource(const Input& in, const QString& fileName, bool testCopy) {
    if (!testCopy && in.isPseudo)
        return fileName;
    const QString name = Escaping::addressFileName(fileName);
    return testCopy ? name : in.videoPath + name;
}

QString html5Sources(const Input& in, const QString& mp4, const QString& webm) {
    // The HTML5 player hands these to the browser as they are; the folder part is an address the
    // user typed, the name part a file name that may hold what an address reads differently.
    const QString& path = in.videoPath;
    return QStringLiteral("  ") +
           attribute(QStringLiteral("v2"), path + Escaping::addressFileName(mp4)) +
           QStringLiteral("  ") +
           attribute(QStringLiteral("v3"), path + Escaping::addressFileName(webm));
}

// Last on a video's line, and only for a video with captions, so other lines stay as they were.
// The local test page finds the caption files beside itself, as it does the videos. An RTMP
// server streams only the videos: there the caption files are fetched over HTTP from the server
// path, with the rest of the uploaded output folder.
QString captionsAttribute(const Input& in, const CaptionTracks& tracks, bool testCopy) {
    if (tracks.isEmpty())
        return {};
    const QString folder = testCopy ? QString() : in.isRtmp ? in.serverPath : in.videoPath;
    return u' ' + attribute(QStringLiteral("cc"), CaptionsAttribute::value(tracks, folder));
}

QString singleVideoLine(const Input& in, bool testCopy) {
    const ConfigXmlWriter::SingleFiles& v = in.single;
    if (!testCopy && in.isRtmp)
        return QStringLiteral("<video  ") + attribute(QStringLiteral("v1"), v.flvRtmp) +
               captionsAttribute(in, v.captions, testCopy) + QStringLiteral("/>");
    QString line = QStringLiteral("<video ") + attribute(QStringLiteral("title"), QString()) +
                   u' ' + attribute(QStringLiteral("v1"), flashSource(in, v.flv, testCopy));
    if (withHtml5Sources(in, testCopy))
        line += html5Sources(in, v.mp4, v.webm);
    return line + captionsAttribute(in, v.captions, testCopy) + QStringLiteral("/>");
}

QString playlistFlashSource(const Input& in, const QString& flashFile, bool testCopy) {
    if (!testCopy && in.isRtmp)
        return ConfigXmlWriter::playlistRtmpStreamName(flashFile);
    return flashSource(in, flashFile, testCopy);
}

QString playlistVideoLine(const Input& in, const PlaylistEntry& row, bool testCopy) {
    const PlaylistLayout layout = in.layout;
    QString line = QStringLiteral("<video ") + attribute(QStringLiteral("title"), row.Title);
    if (layout != PlaylistLayout::TitleOnly)
        line += u' ' + attribute(QStringLiteral("desc"), row.Description);
    line +=
        u' ' + attribute(QStringLiteral("v1"), playlistFlashSource(in, row.FlashFile, testCopy));
    if (withHtml5Sources(in, testCopy))
        line += html5Sources(in, row.Mp4File, row.WebmFile);
    if (layout == PlaylistLayout::TitleDescThumb)
        line += u' ' + attribute(QStringLiteral("pic"), row.Thumbnail);
    return line + captionsAttribute(in, row.Captions, testCopy) + QStringLiteral("/>");
}

QStringList videoLines(const Input& in, bool testCopy) {
    if (!in.box.playlist)
        return {singleVideoLine(in, testCopy)};
    QStringList lines;
    for (const PlaylistEntry& row : in.rows)
        lines << playlistVideoLine(in, row, testCopy);
    return lines;
}

}  // namespace

OutputFile ConfigXmlWriter::configXml(const Input& in) {
    return OutputFile::ofLines(in.outputFolder + FileName, lines(in, false));
}

OutputFile ConfigXmlWriter::testConfigXml(const Input& in) {
    return OutputFile::ofLines(in.scratchFolder + FileName, lines(in, true));
}

QStringList ConfigXmlWriter::lines(const Input& in, bool testCopy) {
    QStringList lines{QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>"),
                      QStringLiteral("<vidlark>"), QStringLiteral("<config>")};
    lines << playerOptionLines(in, testCopy) << layoutOptionLines(in)
          << serverOptionLines(in, testCopy) << listStyleLines(in) << html5Lines(in, testCopy);
    lines << QStringLiteral("</config>") << QStringLiteral("<files>");
    lines << videoLines(in, testCopy);
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
