#include "generate/PlaylistThumbnails.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

#include "appearance/PicFormat32.h"
#include "appearance/PictureFitter.h"
#include "generate/OutputAssembly.h"
#include "platform/FileOps.h"
#include "platform/ScratchFolder.h"

namespace {

constexpr int kJpegQuality = 90;

QString thumbsIn(const QString& folder) {
    return folder + QStringLiteral("thumbs") + FileOps::separator();
}

}  // namespace

QStringList PlaylistThumbnails::sources(const GenerationContext& ctx) {
    QStringList paths;
    if (ctx.playlist.layout != PlaylistLayout::TitleDescThumb)
        return paths;
    for (const PlaylistEntry& row : ctx.playlist.rows)
        if (!row.Thumbnail.isEmpty())
            paths << ctx.playlist.ThumbImagesPath + row.Thumbnail;
    return paths;
}

// Each picture is first copied to a work name (pic1.jpg for the first thumbnail) in a hidden
// folder of its own, fitted from there and converted there, so the user's own file is only ever
// read and no thumbnail's name can meet a work file's. The finished thumbnails are copied out like
// every other file of the run: beside their targets and renamed over them, so a link already under
// a thumbnail's name is replaced, not written through. Rows that show one picture share its work:
// a long playlist of a few pictures costs a few fittings, and the work files go at the end.
void PlaylistThumbnails::make(const GenerationContext& ctx) {
    if (ctx.playlist.layout != PlaylistLayout::TitleDescThumb)
        return;
    const QString output = thumbsIn(ctx.outputFolder);
    const QString scratch = ScratchFolder::thumbs(ctx.paths);
    const QString workFolder = ScratchFolder::thumbsWork(ctx.paths);
    for (const QString& folder : {output, scratch, workFolder})
        if (!FileOps::folderExists(folder))
            FileOps::makeFolder(folder);
    // A run that died left its work here; what the pictures are written to must not be a link.
    FileOps::deleteMatching(workFolder, QStringLiteral("*"));
    const auto removeWork = qScopeGuard([&workFolder] { QDir(workFolder).removeRecursively(); });
    QStringList names;
    for (const PlaylistEntry& row : ctx.playlist.rows)
        if (!row.Thumbnail.isEmpty())
            names << row.Thumbnail;
    names.removeDuplicates();
    const QSize canvas(Width, Height);
    for (qsizetype n = 0; n < names.size(); ++n) {
        const QString work = workFolder + QStringLiteral("pic%1").arg(n + 1);
        FileOps::copyFile(ctx.playlist.ThumbImagesPath + names[n], work + QStringLiteral(".jpg"));
        PicFormat32::saveBitmap(PictureFitter::fitJpegFile(work + QStringLiteral(".jpg"), canvas),
                                work + QStringLiteral(".fcx"));
        PicFormat32::convert(work + QStringLiteral(".fcx"), work + QStringLiteral(".jpg"),
                             kJpegQuality);
        FileOps::copyFile(work + QStringLiteral(".jpg"), scratch + names[n]);
        FileOps::copyFile(work + QStringLiteral(".jpg"), output + names[n]);
    }
}

QStringList PlaylistThumbnails::targets(const GenerationContext& ctx) {
    QStringList paths;
    if (ctx.playlist.layout != PlaylistLayout::TitleDescThumb)
        return paths;
    const QString output = thumbsIn(ctx.outputFolder);
    const QString scratch = ScratchFolder::thumbs(ctx.paths);
    for (const PlaylistEntry& row : ctx.playlist.rows)
        if (!row.Thumbnail.isEmpty())
            paths << scratch + row.Thumbnail << output + row.Thumbnail;
    paths.removeDuplicates();
    return paths;
}
