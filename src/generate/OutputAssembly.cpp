#include "generate/OutputAssembly.h"

#include <QFileInfo>
#include <QList>

#include "generate/PlaylistThumbnails.h"
#include "platform/AppError.h"
#include "platform/FileOps.h"
#include "platform/Views.h"

namespace {

QString sep() {
    return FileOps::separator();
}

QString subFolder(const QString& appFolder, const QString& name) {
    return appFolder + sep() + name + sep();
}

// Videos can be large: their copies report progress, so the window can show it. A source and a
// target that are one file (a hard link, a folder reached through a bind mount, an intro image
// named like the rendered one) are already in place: copyFile leaves them as they are.
void copyVideo(Views& views, const QString& from, const QString& to) {
    const QString name = QFileInfo(to).fileName();
    FileOps::copyFile(from, to, [&views, &name](qint64 done, qint64 total) {
        views.showCopyProgress(name, done, total);
    });
}

// Videos whose folder is the output folder itself are already in place. The folder texts are
// compared exactly, as typed.
bool differsFromOutput(const GenerationContext& ctx, const QString& folder) {
    return folder != ctx.outputFolder;
}

void mirror(const GenerationContext& ctx, const QString& from, const QString& name) {
    FileOps::copyFile(from, OutputAssembly::scratchFolder(ctx.appFolder) + name);
}

void mirrorVideo(const GenerationContext& ctx, Views& views, const QString& name) {
    copyVideo(views, ctx.outputFolder + name, OutputAssembly::scratchFolder(ctx.appFolder) + name);
}

void inject(const GenerationContext& ctx, Views& views, const QString& name) {
    views.showInjection(
        OutputAssembly::injectionCommandLine(ctx.appFolder, ctx.outputFolder + name));
}

// Rtmp streams the videos from the media server and Pseudo plays them through the seek script on
// the web server, so the local test page can play neither from the scratch folder.
bool localPlayback(const GenerationContext& ctx) {
    return !ctx.snapshot.IsRtmp && !ctx.snapshot.IsPseudo;
}

using RowField = QString PlaylistEntry::*;

// The files the playlist rows name in `field`, in row order, each once: a video that several rows
// play is copied, injected and mirrored once, not once per row.
QStringList namesOf(const Playlist& playlist, RowField field) {
    QStringList names;
    for (const PlaylistEntry& row : playlist.rows)
        if (!(row.*field).isEmpty())
            names << row.*field;
    names.removeDuplicates();
    return names;
}

void copyRowsInto(const GenerationContext& ctx, Views& views, const QString& folder,
                  const QStringList& names) {
    if (!differsFromOutput(ctx, folder))
        return;
    for (const QString& name : names)
        copyVideo(views, folder + name, ctx.outputFolder + name);
}

}  // namespace

QString OutputAssembly::scratchFolder(const QString& appFolder) {
    return subFolder(appFolder, QStringLiteral("temp"));
}

// The runner splits the line as QProcess::splitCommand does: inside quotes, a quote of the name
// itself is written as three. A name with a quote could otherwise end the path early and point
// the injector at another file.
QString OutputAssembly::injectionCommandLine(const QString& appFolder, const QString& videoPath) {
    auto quoted = [](QString path) {
        return u'"' + path.replace(u'"', QStringLiteral("\"\"\"")) + u'"';
    };
    return quoted(appFolder + sep() + QStringLiteral("flvmdi")) + QStringLiteral(" /k /l ") +
           quoted(videoPath);
}

void OutputAssembly::assemble(const GenerationContext& ctx, Views& views) {
    if (ctx.isPlaylist()) {
        assemblePlaylist(ctx, views);
        PlaylistThumbnails::make(ctx);
    } else
        assembleSingleVideo(ctx, views);
    copySupportFiles(ctx);
    if (!ctx.snapshot.UseHtml5)
        copyEmulator(ctx);
    copyImages(ctx);
}

void OutputAssembly::assembleSingleVideo(const GenerationContext& ctx, Views& views) {
    const SingleVideo& video = ctx.single;
    if (differsFromOutput(ctx, video.FlvVideoFilePathOnly))
        copyVideo(views, video.FlvVideoFilePath, ctx.outputFolder + video.FlvVideoFileName);
    inject(ctx, views, video.FlvVideoFileName);
    mirrorVideo(ctx, views, video.FlvVideoFileName);
    if (!ctx.snapshot.UseHtml5)
        return;
    const bool mp4 = !video.Mp4VideoFileName.isEmpty();
    const bool webm = !video.WebmVideoFileName.isEmpty();
    if (mp4 && differsFromOutput(ctx, video.Mp4VideoFilePathOnly))
        copyVideo(views, video.Mp4VideoFilePath, ctx.outputFolder + video.Mp4VideoFileName);
    if (webm && differsFromOutput(ctx, video.WebmVideoFilePathOnly))
        copyVideo(views, video.WebmVideoFilePath, ctx.outputFolder + video.WebmVideoFileName);
    if (!localPlayback(ctx))
        return;
    if (mp4)
        mirrorVideo(ctx, views, video.Mp4VideoFileName);
    if (webm)
        mirrorVideo(ctx, views, video.WebmVideoFileName);
}

void OutputAssembly::assemblePlaylist(const GenerationContext& ctx, Views& views) {
    const Playlist& playlist = ctx.playlist;
    // Rows without a Flash file (a title only) take no part.
    const QStringList flash = namesOf(playlist, &PlaylistEntry::FlashFile);
    copyRowsInto(ctx, views, playlist.FLVVideoFilesPath, flash);
    // One at a time: each injection has finished when showInjection returns.
    for (const QString& name : flash)
        inject(ctx, views, name);
    for (const QString& name : flash)
        mirrorVideo(ctx, views, name);
    if (!ctx.snapshot.UseHtml5)
        return;
    const QStringList mp4 = namesOf(playlist, &PlaylistEntry::Mp4File);
    const QStringList webm = namesOf(playlist, &PlaylistEntry::WebmFile);
    copyRowsInto(ctx, views, playlist.Mp4VideoFilesPath, mp4);
    copyRowsInto(ctx, views, playlist.WebMVideoFilesPath, webm);
    if (!localPlayback(ctx))
        return;
    for (const QString& name : mp4 + webm)
        mirrorVideo(ctx, views, name);
}

void OutputAssembly::copySupportFiles(const GenerationContext& ctx) {
    const QString swfs = subFolder(ctx.appFolder, QStringLiteral("swfs"));
    const QString skin = ctx.snapshot.SkinFile;
    const QString swfObject = ctx.appFolder + sep() + QStringLiteral("zevoswf.js");
    FileOps::copyFile(swfs + skin, ctx.outputFolder + skin);
    FileOps::copyFile(swfObject, ctx.outputFolder + QStringLiteral("zevoswf.js"));
    mirror(ctx, swfs + skin, skin);
    mirror(ctx, swfObject, QStringLiteral("zevoswf.js"));
    if (ctx.snapshot.IsPseudo)
        FileOps::copyFile(swfs + QStringLiteral("zevoseek.php"),
                          ctx.outputFolder + QStringLiteral("zevoseek.php"));
}

// Without an HTML5 alternative the page plays only through Flash, which today's browsers have
// only as the emulator that zevoswf.js loads from beside itself: a page uploaded without it
// would show the no-Flash text everywhere, so an installation that lacks it ends the run instead
// of quietly writing such a page. The local test page needs no copy: the preview server answers
// "/ruffle/" from the installation's own folder.
void OutputAssembly::copyEmulator(const GenerationContext& ctx) {
    const QString from = subFolder(ctx.appFolder, QStringLiteral("ruffle"));
    if (!FileOps::folderExists(from))
        throw AppError(AppError::PathNotFound, from);
    const QStringList names = FileOps::filesMatching(from, QStringLiteral("*"));
    if (!names.contains(QStringLiteral("ruffle.js")))
        throw AppError(AppError::FileNotFound, from + QStringLiteral("ruffle.js"));
    const QString to = ctx.outputFolder + QStringLiteral("ruffle") + sep();
    FileOps::makeFolder(to);
    for (const QString& name : names)
        FileOps::copyFile(from + name, to + name);
}

void OutputAssembly::copyImages(const GenerationContext& ctx) {
    const QString scratch = scratchFolder(ctx.appFolder);
    // The rendered images keep fixed scratch names; page and player know them by the source name.
    const QList<std::pair<QString, QString>> rendered{
        {ctx.settings.IntroImageName, QStringLiteral("temp.jpg")},
        {ctx.settings.OutroImageName, QStringLiteral("semp.jpg")},
    };
    for (const auto& [name, scratchName] : rendered) {
        if (name.isEmpty())
            continue;
        FileOps::copyFile(scratch + scratchName, ctx.outputFolder + name);
        FileOps::copyFile(scratch + scratchName, scratch + name);
    }
    if (!ctx.settings.SocialShare)
        return;
    const QString images = subFolder(ctx.appFolder, QStringLiteral("images"));
    for (const QString& name : {QStringLiteral("wg_fb.jpg"), QStringLiteral("wg_tw.jpg")})
        FileOps::copyFile(images + name, ctx.outputFolder + name);
}
