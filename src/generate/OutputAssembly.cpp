#include "generate/OutputAssembly.h"

#include <QFileInfo>
#include <QHash>
#include <QList>

#include "formats/CaptionsAttribute.h"
#include "generate/FileWorkRunner.h"
#include "generate/PlaylistThumbnails.h"
#include "media/CaptionFile.h"
#include "media/CaptionFileError.h"
#include "platform/AppError.h"
#include "platform/FileOps.h"
#include "platform/ScratchFolder.h"

namespace {

QString sep() {
    return FileOps::separator();
}

QString subFolder(const QString& folder, const QString& name) {
    return folder + sep() + name + sep();
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

// Rtmp streams the videos from the media server and Pseudo plays them through the seek script on
// the web server, so the local test page can play neither from the scratch folder.
bool localPlayback(const GenerationContext& ctx) {
    return !ctx.snapshot.IsRtmp && !ctx.snapshot.IsPseudo;
}

// Writes down the run's file work in the order it is done. A step that reads a file an earlier
// step writes (the mirror of a copied video) weighs what that step read.
class Planner {
  public:
    explicit Planner(const GenerationContext& ctx)
        : m_ctx(ctx), m_out(ctx.outputFolder), m_scratch(ScratchFolder::path(ctx.paths)) {}

    FileWorkPlan plan;

    void singleVideo();
    void playlist();
    void captions();
    void supportFiles();
    void emulator();
    void images();

  private:
    void add(FileWorkStep::Kind kind, const QString& name, const QString& from, const QString& to) {
        FileWorkStep step;
        step.kind = kind;
        step.name = name;
        step.source = from;
        step.target = to;
        step.bytes = sizeOf(from);
        if (kind == FileWorkStep::Kind::Inject)
            step.command = OutputAssembly::injectionCommandLine(m_ctx.paths.programs, to);
        m_written.insert(to, step.bytes);
        plan.steps << step;
    }
    void copy(const QString& from, const QString& name) {
        add(FileWorkStep::Kind::Copy, name, from, m_out + name);
    }
    void mirror(const QString& from, const QString& name) {
        add(FileWorkStep::Kind::Mirror, name, from, m_scratch + name);
    }
    // Videos whose folder is the output folder itself are already in place. The folder texts are
    // compared exactly, as typed. A source and a target that are one file (a hard link, a folder
    // reached through a bind mount) are left as they are by the copy itself.
    void copyVideo(const QString& folder, const QString& path, const QString& name) {
        if (folder != m_out)
            copy(path, name);
    }
    // The injector runs on the copy right after: the copy writes what it would (its stamp tells
    // it so), which spares reading and writing the video twice more.
    void copyFlash(const QString& folder, const QString& path, const QString& name) {
        if (folder == m_out)
            return;
        copy(path, name);
        plan.steps.last().injected = true;
    }
    void copyRow(const QString& folder, const QString& name) {
        copyVideo(folder, folder + name, name);
    }
    void inject(const QString& name) {
        add(FileWorkStep::Kind::Inject, name, m_out + name, m_out + name);
    }
    void mirrorVideo(const QString& name) { mirror(m_out + name, name); }
    void caption(const QString& path);
    void thumbnails();
    qint64 sizeOf(const QString& path) const {
        return m_written.contains(path) ? m_written.value(path) : QFileInfo(path).size();
    }

    const GenerationContext& m_ctx;
    const QString m_out;
    const QString m_scratch;
    QHash<QString, qint64> m_written;
    QHash<QString, QString> m_captionSources;  // by name in the output folder
};

void Planner::singleVideo() {
    const SingleVideo& video = m_ctx.single;
    copyFlash(video.FlvVideoFilePathOnly, video.FlvVideoFilePath, video.FlvVideoFileName);
    inject(video.FlvVideoFileName);
    mirrorVideo(video.FlvVideoFileName);
    if (!m_ctx.snapshot.UseHtml5)
        return;
    const bool mp4 = !video.Mp4VideoFileName.isEmpty();
    const bool webm = !video.WebmVideoFileName.isEmpty();
    if (mp4)
        copyVideo(video.Mp4VideoFilePathOnly, video.Mp4VideoFilePath, video.Mp4VideoFileName);
    if (webm)
        copyVideo(video.WebmVideoFilePathOnly, video.WebmVideoFilePath, video.WebmVideoFileName);
    if (!localPlayback(m_ctx))
        return;
    if (mp4)
        mirrorVideo(video.Mp4VideoFileName);
    if (webm)
        mirrorVideo(video.WebmVideoFileName);
}

void Planner::playlist() {
    const Playlist& playlist = m_ctx.playlist;
    // Rows without a Flash file (a title only) take no part.
    const QStringList flash = namesOf(playlist, &PlaylistEntry::FlashFile);
    for (const QString& name : flash)
        copyFlash(playlist.FLVVideoFilesPath, playlist.FLVVideoFilesPath + name, name);
    for (const QString& name : flash)
        inject(name);
    for (const QString& name : flash)
        mirrorVideo(name);
    if (m_ctx.snapshot.UseHtml5) {
        const QStringList mp4 = namesOf(playlist, &PlaylistEntry::Mp4File);
        const QStringList webm = namesOf(playlist, &PlaylistEntry::WebmFile);
        for (const QString& name : mp4)
            copyRow(playlist.Mp4VideoFilesPath, name);
        for (const QString& name : webm)
            copyRow(playlist.WebMVideoFilesPath, name);
        if (localPlayback(m_ctx))
            for (const QString& name : mp4 + webm)
                mirrorVideo(name);
    }
    thumbnails();
}

// Every caption file once, converted into the output folder and mirrored for the local test page
// (which finds it beside itself, as it finds the videos).
void Planner::captions() {
    QList<CaptionTracks> tracks{m_ctx.single.Captions};
    if (m_ctx.isPlaylist()) {
        tracks.clear();
        for (const PlaylistEntry& row : m_ctx.playlist.rows)
            tracks << row.Captions;
    }
    for (const CaptionTracks& video : tracks)
        for (const CaptionTrack& track : video)
            caption(track.path);
}

// Two different files that would get one name in the output folder would leave one video with
// the other's captions.
void Planner::caption(const QString& path) {
    const QString name = CaptionsAttribute::outputName(path);
    const QString earlier = m_captionSources.value(name);
    if (earlier == path)
        return;
    if (!earlier.isEmpty())
        throw CaptionFileError(
            path, 0,
            QStringLiteral("It would be written to the output folder as %1, as is %2. Rename one "
                           "of them.")
                .arg(name, earlier));
    m_captionSources.insert(name, path);
    add(FileWorkStep::Kind::Caption, name, path, m_out + name);
    mirror(m_out + name, name);
}

void Planner::thumbnails() {
    if (m_ctx.playlist.layout != PlaylistLayout::TitleDescThumb)
        return;
    const QStringList sources = PlaylistThumbnails::sources(m_ctx);
    FileWorkStep step;
    step.kind = FileWorkStep::Kind::Thumbnails;
    step.name = QStringLiteral("thumbs");
    for (const QString& path : sources)
        step.bytes += sizeOf(path);
    plan.steps << step;
    plan.alsoRead << sources;
}

void Planner::supportFiles() {
    const QString swfs = subFolder(m_ctx.paths.data, QStringLiteral("swfs"));
    const QString skin = m_ctx.snapshot.SkinFile;
    const QString swfObject = m_ctx.paths.data + sep() + QStringLiteral("zevoswf.js");
    copy(swfs + skin, skin);
    copy(swfObject, QStringLiteral("zevoswf.js"));
    mirror(swfs + skin, skin);
    mirror(swfObject, QStringLiteral("zevoswf.js"));
    if (m_ctx.snapshot.IsPseudo)
        copy(swfs + QStringLiteral("zevoseek.php"), QStringLiteral("zevoseek.php"));
}

// Without an HTML5 alternative the page plays only through Flash, which today's browsers have
// only as the emulator that zevoswf.js loads from beside itself: a page uploaded without it
// would show the no-Flash text everywhere, so an installation that lacks it ends the run instead
// of quietly writing such a page. The local test page needs no copy: the preview server answers
// "/ruffle/" from the installation's own folder.
void Planner::emulator() {
    const QString from = subFolder(m_ctx.paths.data, QStringLiteral("ruffle"));
    if (!FileOps::folderExists(from))
        throw AppError::naming(AppError::PathNotFound, from, AppError::Operation::Reading);
    const QStringList names = FileOps::filesMatching(from, QStringLiteral("*"));
    if (!names.contains(QStringLiteral("ruffle.js")))
        throw AppError::naming(AppError::FileNotFound, from + QStringLiteral("ruffle.js"),
                               AppError::Operation::Reading);
    for (const QString& name : names) {
        const QString relative = QStringLiteral("ruffle") + sep() + name;
        copy(from + name, relative);
        plan.steps.last().makesFolder = true;
    }
}

void Planner::images() {
    // The rendered images keep fixed scratch names; page and player know them by the source name.
    const QList<std::pair<QString, QString>> rendered{
        {m_ctx.settings.IntroImageName, QStringLiteral("temp.jpg")},
        {m_ctx.settings.OutroImageName, QStringLiteral("semp.jpg")},
    };
    for (const auto& [name, scratchName] : rendered) {
        if (name.isEmpty())
            continue;
        copy(m_scratch + scratchName, name);
        mirror(m_scratch + scratchName, name);
    }
    if (!m_ctx.settings.SocialShare)
        return;
    const QString images = subFolder(m_ctx.paths.data, QStringLiteral("images"));
    for (const QString& name : {QStringLiteral("wg_fb.jpg"), QStringLiteral("wg_tw.jpg")})
        copy(images + name, name);
}

}  // namespace

// The runner splits the line as QProcess::splitCommand does: inside quotes, a quote of the name
// itself is written as three. A name with a quote could otherwise end the path early and point
// the injector at another file.
QString OutputAssembly::injectionCommandLine(const QString& programs, const QString& videoPath) {
    auto quoted = [](QString path) {
        return u'"' + path.replace(u'"', QStringLiteral("\"\"\"")) + u'"';
    };
    return quoted(programs + sep() + QStringLiteral("flvmdi")) + QStringLiteral(" /k /l ") +
           quoted(videoPath);
}

FileWorkPlan OutputAssembly::plan(const GenerationContext& ctx) {
    Planner planner(ctx);
    if (ctx.isPlaylist())
        planner.playlist();
    else
        planner.singleVideo();
    planner.captions();
    planner.supportFiles();
    if (!ctx.snapshot.UseHtml5)
        planner.emulator();
    planner.images();
    return planner.plan;
}

void OutputAssembly::checkCaptions(const FileWorkPlan& plan) {
    for (const FileWorkStep& step : plan.steps)
        if (step.kind == FileWorkStep::Kind::Caption)
            CaptionFile::toWebVtt(step.source);
}

int OutputAssembly::assemble(const GenerationContext& ctx, const FileWorkPlan& plan, Views& views) {
    return FileWorkRunner::run(plan, views, [&ctx] { PlaylistThumbnails::make(ctx); });
}
