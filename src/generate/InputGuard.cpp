#include "generate/InputGuard.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <optional>
#include <utility>

#include "generate/PlaylistThumbnails.h"
#include "media/CaptionFile.h"
#include "platform/FileOps.h"
#include "platform/FileWorkPlan.h"
#include "platform/OutputFile.h"
#include "platform/TextFile.h"

namespace {

// A file by what it is to the user: "the intro image", and its path.
using Named = std::pair<QString, QString>;

struct Identity {
    quint64 device = 0;
    quint64 inode = 0;
    friend bool operator==(const Identity&, const Identity&) = default;
};

std::optional<Identity> identityOf(const QString& path) {
    const std::optional<FileOps::FileVersion> version = FileOps::versionOf(path);
    if (!version)
        return std::nullopt;
    return Identity{version->device, version->inode};
}

void addVideos(QList<Named>& inputs, const GenerationContext& ctx) {
    const bool html5 = ctx.snapshot.UseHtml5;
    if (!ctx.isPlaylist()) {
        const SingleVideo& video = ctx.single;
        inputs << Named{QStringLiteral("the Flash video"), video.FlvVideoFilePath};
        if (html5 && !video.Mp4VideoFileName.isEmpty())
            inputs << Named{QStringLiteral("the Mp4 video"), video.Mp4VideoFilePath};
        if (html5 && !video.WebmVideoFileName.isEmpty())
            inputs << Named{QStringLiteral("the WebM video"), video.WebmVideoFilePath};
        return;
    }
    const Playlist& playlist = ctx.playlist;
    for (const PlaylistEntry& row : playlist.rows) {
        if (!row.FlashFile.isEmpty())
            inputs << Named{QStringLiteral("the Flash video"),
                            playlist.FLVVideoFilesPath + row.FlashFile};
        if (html5 && !row.Mp4File.isEmpty())
            inputs << Named{QStringLiteral("the Mp4 video"),
                            playlist.Mp4VideoFilesPath + row.Mp4File};
        if (html5 && !row.WebmFile.isEmpty())
            inputs << Named{QStringLiteral("the WebM video"),
                            playlist.WebMVideoFilesPath + row.WebmFile};
    }
}

void addCaptions(QList<Named>& inputs, const GenerationContext& ctx) {
    QList<CaptionTracks> videos{ctx.single.Captions};
    if (ctx.isPlaylist()) {
        videos.clear();
        for (const PlaylistEntry& row : ctx.playlist.rows)
            videos << row.Captions;
    }
    for (const CaptionTracks& tracks : videos)
        for (const CaptionTrack& track : tracks)
            inputs << Named{QStringLiteral("the caption file"), track.path};
}

// Every file the run reads that the user chose.
QList<Named> inputsOf(const GenerationContext& ctx) {
    QList<Named> inputs;
    addVideos(inputs, ctx);
    addCaptions(inputs, ctx);
    const ProjectSettings& settings = ctx.settings;
    if (!settings.IntroImageName.isEmpty())
        inputs << Named{QStringLiteral("the intro image"), settings.IntroImagePath};
    if (!settings.OutroImageName.isEmpty())
        inputs << Named{QStringLiteral("the outro image"), settings.OutroImagePath};
    for (const QString& path : PlaylistThumbnails::sources(ctx))
        inputs << Named{QStringLiteral("the thumbnail"), path};
    inputs << Named{QStringLiteral("the skin"), ctx.paths.data + FileOps::separator() +
                                                    QStringLiteral("swfs") + FileOps::separator() +
                                                    ctx.snapshot.SkinFile};
    return inputs;
}

// A caption file that already lies where it is written, as WebVTT that the run would write
// byte for byte, stays as it is (the file work leaves it, as it leaves a video in place).
bool captionInPlace(const FileWorkStep& step) {
    return TextFile::readBytes(step.source) == CaptionFile::toWebVtt(step.source);
}

// What the run writes, each with what writes it: the steps' targets (less a copy onto its own
// source, which leaves the file as it is), the thumbnails, the generated files and the earlier
// runs' files those delete.
QList<Named> writesOf(const GenerationContext& ctx, const FileWorkPlan& plan,
                      const QList<OutputFile>& files) {
    QList<Named> writes;
    for (const FileWorkStep& step : plan.steps) {
        if (step.kind == FileWorkStep::Kind::Inject || step.kind == FileWorkStep::Kind::Thumbnails)
            continue;
        if (FileOps::sameFile(step.source, step.target) &&
            (step.kind != FileWorkStep::Kind::Caption || captionInPlace(step)))
            continue;
        writes << Named{FileWorkPlan::describe(step), step.target};
    }
    for (const QString& path : PlaylistThumbnails::targets(ctx))
        writes << Named{QStringLiteral("Make the playlist thumbnails"), path};
    for (const OutputFile& file : files) {
        const QString folder = QFileInfo(file.path).path();
        writes << Named{QStringLiteral("Write %1").arg(QFileInfo(file.path).fileName()), file.path};
        if (file.replaces.isEmpty())
            continue;
        for (const QString& name : FileOps::filesMatching(folder, file.replaces))
            writes << Named{QStringLiteral("Delete an earlier run's %1").arg(name),
                            QDir(folder).filePath(name)};
    }
    return writes;
}

QString refusalText(const Named& input, const Named& write) {
    return QStringLiteral(
               "THE RUN WOULD REPLACE ONE OF ITS OWN FILES. NOTHING HAS BEEN WRITTEN.\n"
               "%1: %2\n"
               "would be replaced by: %3 (%4)\n"
               "Move the file out of the output folder and the application's temp folder, or "
               "choose another output folder.")
        .arg(input.first.left(1).toUpper() + input.first.mid(1), input.second, write.second,
             write.first);
}

// The run's files by their place: the canonical path of their folder, then their name.
QString placeOf(const QString& path) {
    const QFileInfo info(path);
    const QString folder = QFileInfo(info.path()).canonicalFilePath();
    return (folder.isEmpty() ? info.path() : folder) + u'/' + info.fileName();
}

// The output folder chosen as the scratch folder (or a link to it) puts the online and the local
// files under one name, and the one written last would take the other's place.
void checkNoTwoFilesShareAPlace(const QList<OutputFile>& files) {
    QHash<QString, QString> written;
    for (const OutputFile& file : files) {
        const QString place = placeOf(file.path);
        if (const auto earlier = written.constFind(place); earlier != written.cend())
            throw InputGuard::Refusal(
                QStringLiteral("THE RUN WOULD WRITE TWO OF ITS FILES UNDER ONE NAME. NOTHING HAS "
                               "BEEN WRITTEN.\n%1\nand %2\nare one file. Choose an output folder "
                               "other than the application's temp folder.")
                    .arg(*earlier, file.path));
        written.insert(place, file.path);
    }
}

}  // namespace

InputGuard::Refusal::Refusal(const QString& message)
    : std::runtime_error(message.toStdString()), m_message(message) {}

QStringList InputGuard::inputPaths(const GenerationContext& ctx) {
    QStringList paths;
    for (const Named& input : inputsOf(ctx))
        paths << input.second;
    return paths;
}

void InputGuard::check(const GenerationContext& ctx, const FileWorkPlan& plan,
                       const QList<OutputFile>& files) {
    checkNoTwoFilesShareAPlace(files);
    QList<std::pair<Named, Identity>> inputs;
    for (const Named& input : inputsOf(ctx))
        if (const std::optional<Identity> identity = identityOf(input.second))
            inputs << std::pair{input, *identity};
    if (inputs.isEmpty())
        return;
    for (const Named& write : writesOf(ctx, plan, files)) {
        const std::optional<Identity> identity = identityOf(write.second);
        if (!identity)
            continue;
        for (const auto& [input, inputIdentity] : inputs)
            if (inputIdentity == *identity)
                throw Refusal(refusalText(input, write));
    }
}
