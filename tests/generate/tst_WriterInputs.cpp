#include <QtTest>

#include "GenerationInputs.h"
#include "TestFiles.h"
#include "generate/GenerationDriver.h"
#include "platform/OutputFile.h"

namespace {

// The golden files of the local copies name the application folder by this marker.
const QString AppFolder = QStringLiteral("@APPFOLDER@");

// A whole context, writing into a fresh folder unless a case names the folder of its golden file.
struct Run : WriterRun {
    QString outFolder = outputFolder();
};

// Sets a whole context up as one writer test sets that writer's own input up.
using Setup = void (*)(Run&);

void showAction(Run& r) {
    r.snapshot.HasActionCode = true;
    r.settings.ActionCode = QStringLiteral("<b>Thanks</b>");
}

void redirect(Run& r) {
    r.settings.RedirectURL = QStringLiteral("http://www.example.com/thanks.html");
}

void html5Playlist(Run& r, PlaylistPosition position) {
    r.settings.Multiple = true;
    r.snapshot.UseHtml5 = true;
    r.playlist.position = position;
}

void styleBottom(Run& r) {
    html5Playlist(r, PlaylistPosition::Bottom);
    r.snapshot.PlayerWidth = 480;
    r.snapshot.PlayerHeight = 270;
    r.snapshot.PlaylistHeight = 180;
    r.snapshot.WidthPlaylist = 250;
    r.snapshot.PlayListFontSize = 11;
}

void styleRightFluid(Run& r) {
    html5Playlist(r, PlaylistPosition::Right);
    r.snapshot.PlayerWidth = 640;
    r.snapshot.PlayerHeight = 360;
    r.snapshot.PlaylistHeight = 360;
    r.snapshot.WidthPlaylist = 250;
    r.snapshot.PlayListFontSize = 12;
    r.settings.FluidSize = true;
}

void flashPlayer(Run& r) {
    r.snapshot.PlayerWidth = 480;
    r.snapshot.PlayerHeight = 270;
    r.snapshot.SkinAllowance = 30;
    r.snapshot.WidthPlaylist = 250;
    r.snapshot.ServerPath = QStringLiteral("http://www.example.com/video/");
    r.snapshot.SkinUrl = QStringLiteral("http://www.example.com/video/Skin-30-float.swf?");
}

void flashRight(Run& r) {
    flashPlayer(r);
    r.settings.Multiple = true;
    r.playlist.position = PlaylistPosition::Right;
    r.snapshot.PlaylistHeight = 270;
}

void flashBottomFluid(Run& r) {
    flashPlayer(r);
    r.settings.Multiple = true;
    r.settings.FluidSize = true;
    r.playlist.position = PlaylistPosition::Bottom;
    r.snapshot.PlaylistHeight = 300;
}

// A single video ignores where the playlist editor was left.
void flashSingleFluid(Run& r) {
    flashPlayer(r);
    r.settings.FluidSize = true;
    r.playlist.position = PlaylistPosition::Bottom;
}

void html5(Run& r, bool playlist) {
    r.settings.Multiple = playlist;
    r.snapshot.UseHtml5 = true;
    r.snapshot.ServerPath = QStringLiteral("http://www.example.com/video/clips/");
    r.snapshot.ErrorHtml5 = QStringLiteral("Your browser does not support HTML5 video.");
}

void html5SingleCaptions(Run& r) {
    html5(r, false);
    r.single.Captions = {{"/subs/a.en.vtt", "en", "English"}};
}

// The rows of the playlist editor are not the single video's.
void html5SingleRowCaptions(Run& r) {
    html5(r, false);
    r.playlist.rows = {PlaylistEntry{}};
    r.playlist.rows[0].Captions = {{"/subs/b.vtt", "de", ""}};
}

void html5SingleMuted(Run& r) {
    html5(r, false);
    r.settings.AutoPlay = r.settings.MutedAutoPlay = true;
}

void html5PlaylistCaptions(Run& r) {
    html5(r, true);
    r.playlist.rows = {PlaylistEntry{}, PlaylistEntry{}};
    r.playlist.rows[1].Captions = {{"/subs/b.vtt", "de", ""}};
}

void html5PlaylistInline(Run& r) {
    html5(r, true);
    r.settings.PlaysInline = true;
}

void html5PlaylistFluid(Run& r) {
    html5(r, true);
    r.settings.FluidSize = true;
}

// The configuration file's cases start from a single video of 480 x 270 under a 30-pixel bar.
void config(Run& r) {
    r.skinName = QStringLiteral("Skin-30-plain");
    r.snapshot.GenerationTag = QStringLiteral("a0709");
    r.snapshot.VideoModeCode = 2501 * (r.settings.Multiple ? 97 : 89);
    r.snapshot.PlayerWidth = 480;
    r.snapshot.PlayerHeight = 270;
    r.snapshot.SkinAllowance = 30;
    r.snapshot.PlayListFontSize = 11;
    r.snapshot.WidthPlaylist = 250;
    r.snapshot.ServerPath = QStringLiteral("http://www.example.com/video/");
    r.snapshot.VideoPath = QStringLiteral("http://www.example.com/video/media/");
    r.single.FlvVideoFileName = QStringLiteral("clip.flv");
    r.single.FlvVideoFileNameRTMP = QStringLiteral("clip");
    r.single.Mp4VideoFileName = QStringLiteral("clip.mp4");
    r.single.WebmVideoFileName = QStringLiteral("clip.webm");
}

void configSingleNormal(Run& r) {
    config(r);
    r.skinName = QStringLiteral("Skin-20-dark");
    r.snapshot.SkinAllowance = 20;
    r.advanced.HideControlsFloatingBar = true;
    r.advanced.VideoBuffer = QStringLiteral("3");
    r.settings.PlayerColor = QStringLiteral("FFFFFF");
    r.settings.AutoProgress = true;
    r.settings.ShowBigPlayButton = false;
    r.settings.AudioLevel = QStringLiteral("80");
    r.settings.OutroImageName = QStringLiteral("outro.jpg");
    r.settings.AffiliateLink = QStringLiteral("   ");
    r.settings.ActionCode = QStringLiteral("<b>Thanks</b>");
}

void configSingleHtml5(Run& r) {
    config(r);
    r.skinName = QStringLiteral("Skin-30-float");
    r.advanced.HideControlsFloatingBar = true;
    r.settings.PlayerColor = QStringLiteral("630E0E");
    r.settings.AutoPlay = true;
    r.settings.IntroImageName = QStringLiteral("intro.jpg");
    r.settings.ShowEmbedCode = true;
    r.settings.AffiliateLink = QStringLiteral("http://www.example.com/buy");
    r.snapshot.UseHtml5 = true;
}

void configSinglePseudo(Run& r) {
    config(r);
    r.snapshot.IsPseudo = true;
    r.snapshot.UseHtml5 = true;
    r.settings.PlayerColor = QStringLiteral("336699");
}

void configPlaylistCaptions(Run& r) {
    r.settings.Multiple = true;
    config(r);
    r.snapshot.UseHtml5 = true;
    r.snapshot.PlayListFontSize = 12;
    r.snapshot.PlaylistHeight = 270;
    r.playlist.position = PlaylistPosition::Right;
    r.playlist.layout = PlaylistLayout::TitleDescThumb;
    r.settings.PlayerColor = QStringLiteral("630E0E");
    r.playlist.rows = {
        {"one.flv", "one.mp4", "one.webm", "First clip", "The first one", "one.jpg"},
        {"two.flv", "two.mp4", "two.webm", "Second clip", "", "two.jpg"},
    };
    r.playlist.rows[1].Captions = {{"/subs/two.srt", "", ""}};
}

void configPlaylistRtmp(Run& r) {
    r.settings.Multiple = true;
    config(r);
    r.playlist.position = PlaylistPosition::Invisible;
    r.playlist.layout = PlaylistLayout::TitleDesc;
    r.snapshot.IsRtmp = true;
    r.snapshot.VideoPath = QStringLiteral("rtmp://stream.example.com/vod/");
    r.settings.PlayerColor = QStringLiteral("000000");
    r.settings.IsLive = true;
    r.playlist.rows = {
        {"one.flv", "one.mp4", "one.webm", "First clip", "The first one", "one.jpg"},
        {"two.mp4", "two.mp4", "two.webm", "Second clip", "", "two.jpg"},
        {"three.f4v", "three.mp4", "three.webm", "Third & last", "Say \"bye\"", "three.jpg"},
    };
}

// The core script's cases: a single video 640 pixels wide with HTML5 off.
void core(Run& r) {
    r.snapshot.GenerationTag = QStringLiteral("a0709");
    r.snapshot.ServerPath = QStringLiteral("http://www.example.com/videos/");
    r.snapshot.PlayerWidth = 640;
    r.snapshot.PlayerHeight = 360;
    r.snapshot.WidthPlaylist = 300;
    r.snapshot.ErrorFlash = QStringLiteral("Get the Flash Player to see this video.");
}

void coreAction(Run& r) {
    core(r);
    r.settings.ActionCode = QStringLiteral(
        "  <a href=\"http://shop.example.com/buy.html\"><img src=\"buy.png\" alt=\"Buy "
        "now\"></a>\r\n");
    r.snapshot.HasActionCode = true;
    r.settings.RedirectURL = QStringLiteral("http://www.example.com/thanks.html");
}

void coreRedirect(Run& r) {
    core(r);
    r.settings.RedirectURL = QStringLiteral(" http://www.example.com/thanks.html ");
}

void corePlaylistFluid(Run& r) {
    core(r);
    r.settings.Multiple = true;
    r.playlist.position = PlaylistPosition::Right;
    r.snapshot.UseHtml5 = true;
    r.settings.FluidSize = true;
}

void coreSocial(Run& r) {
    core(r);
    r.settings.ShowEmbedCode = true;
    r.settings.SocialShare = true;
    r.settings.ShareURL = QStringLiteral("http://www.example.com/holiday.html");
    r.settings.ShareTitle = QStringLiteral("Holiday Videos");
}

// The test pages' cases: a single video of 640 x 360 on a skin that adds 30 pixels.
void pages(Run& r) {
    r.skinName = QStringLiteral("Skin-30-dark");
    r.snapshot.GenerationTag = QStringLiteral("a0709");
    r.snapshot.SkinFile = QStringLiteral("Skin-30-dark.swf");
    r.snapshot.SkinAllowance = 30;
    r.snapshot.PlayerWidth = 640;
    r.snapshot.PlayerHeight = 360;
    r.settings.FluidSize = true;
}

void onlinePageFluid(Run& r) {
    pages(r);
    r.snapshot.EmbedCode = QStringLiteral(
        "<script type=\"text/javascript\" "
        "src=\"http://www.example.com/videos/zevocoresva0709.js\"></script>");
}

void localPageFluid(Run& r) {
    pages(r);
    r.outFolder = QStringLiteral("/home/ann/site/");
}

// A file of the output folder and the golden file of the writer's own test.
void row(const char* name, Setup setup, const QString& file, const QString& golden) {
    QTest::newRow(name) << setup << file << golden;
}

QByteArray contentOf(const QList<OutputFile>& files, const QString& path) {
    for (const OutputFile& file : files)
        if (file.path == path)
            return file.content;
    return "(not made)";
}

}  // namespace

Q_DECLARE_METATYPE(Setup)

// Each writer reads only its own input, which the driver takes from the run's context: the files
// the driver makes from a whole context are those of the writers' golden files, so no value is
// lost or mixed up on the way.
class WriterInputsTest : public QObject {
    Q_OBJECT

  private slots:
    void filesFromTheContext_data();
    void filesFromTheContext();
};

void WriterInputsTest::filesFromTheContext_data() {
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("golden");
    row("action: show", &showAction, "zevoactona0732.js", "formats/action_show.js");
    row("action: redirect", &redirect, "zevoactona0732.js", "formats/action_redirect.js");
    row("stylesheet: bottom", &styleBottom, "zevostyle.css", "formats/style_bottom.css");
    row("stylesheet: right, fluid", &styleRightFluid, "zevostyle.css",
        "formats/style_right_fluid.css");
    row("Flash embed: right", &flashRight, "zevoflashsva0732.js", "formats/flash_right.js");
    row("Flash embed: bottom, fluid", &flashBottomFluid, "zevoflashsva0732.js",
        "formats/flash_bottom_fluid.js");
    row("Flash embed: single, fluid", &flashSingleFluid, "zevoflashsva0732.js",
        "formats/flash_single_fluid.js");
    const QString config = QStringLiteral("zevoconfigsv.xml");
    const QString localConfig = AppFolder + QStringLiteral("/temp/zevoconfigsv.xml");
    row("configuration: single", &configSingleNormal, config, "formats/config_single_normal.xml");
    row("configuration: single, HTML5", &configSingleHtml5, config,
        "formats/config_single_normal_html5.xml");
    row("configuration: single, HTML5, local copy", &configSingleHtml5, localConfig,
        "formats/config_single_normal_html5_test.xml");
    row("configuration: single, pseudo", &configSinglePseudo, config,
        "formats/config_single_pseudo.xml");
    row("configuration: playlist with captions", &configPlaylistCaptions, config,
        "formats/config_playlist_right_thumb_captions.xml");
    row("configuration: playlist with captions, local copy", &configPlaylistCaptions, localConfig,
        "formats/config_playlist_right_thumb_captions_test.xml");
    row("configuration: playlist, RTMP", &configPlaylistRtmp, config,
        "formats/config_playlist_invisible_desc_rtmp.xml");
    const QString coreScript = QStringLiteral("zevocoresva0709.js");
    row("core script: action code", &coreAction, coreScript, "generate/core_action.js");
    row("core script: redirect", &coreRedirect, coreScript, "generate/core_redirect.js");
    row("core script: playlist, HTML5, fluid", &corePlaylistFluid, coreScript,
        "generate/core_playlist_html5_fluid.js");
    row("core script: social", &coreSocial, coreScript, "generate/core_social.js");
    row("code.txt", &coreSocial, "code.txt", "generate/code_social.txt");
    row("online test page, fluid", &onlinePageFluid, "onlinetest.html",
        "generate/onlinetest_fluid.html");
    row("local test page, fluid", &localPageFluid, AppFolder + "/temp/do-not-upload.html",
        "generate/localtest_single_fluid.html");
    const QString html5Script = QStringLiteral("zevohtml5sva0732.js");
    row("HTML5 single: captions", &html5SingleCaptions, html5Script,
        "formats/html5_single_captions.js");
    row("HTML5 single: captions only on a playlist row", &html5SingleRowCaptions, html5Script,
        "formats/html5_single.js");
    row("HTML5 single: muted start", &html5SingleMuted, html5Script,
        "formats/html5_single_muted.js");
    row("HTML5 playlist: captions on the second row", &html5PlaylistCaptions, html5Script,
        "formats/html5_playlist_captions.js");
    row("HTML5 playlist: inline", &html5PlaylistInline, html5Script,
        "formats/html5_playlist_inline.js");
    row("HTML5 playlist: fluid", &html5PlaylistFluid, html5Script,
        "formats/html5_playlist_fluid.js");
}

void WriterInputsTest::filesFromTheContext() {
    QFETCH(Setup, setup);
    QFETCH(QString, file);
    QFETCH(QString, golden);
    Run run;
    setup(run);
    const GenerationContext ctx =
        run.context(run.skinName, run.outFolder, AppPaths::portable(AppFolder));
    const QList<OutputFile> files = GenerationDriver::outputFiles(ctx);
    const QString path = file.startsWith(AppFolder) ? file : run.outFolder + file;
    COMPARE_GOLDEN(contentOf(files, path), golden);
}

QTEST_GUILESS_MAIN(WriterInputsTest)
#include "tst_WriterInputs.moc"
