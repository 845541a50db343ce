#include "generate/PlaylistThumbnails.h"

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

// Each picture is first copied to a work name (pic1.jpg for the first thumbnail) and fitted from
// there, so the user's own file is only ever read. All work bitmaps are made before the first
// thumbnail is written, so a thumbnail named like a work copy ("pic2.jpg") cannot replace the
// picture of another one. Rows that show one picture share its work: a long playlist of a few
// pictures costs a few fittings, and the work files go once the thumbnails are written.
void PlaylistThumbnails::make(const GenerationContext& ctx) {
    if (ctx.playlist.layout != PlaylistLayout::TitleDescThumb)
        return;
    const QString output = thumbsIn(ctx.outputFolder);
    const QString scratch = ScratchFolder::thumbs(ctx.appFolder);
    for (const QString& folder : {output, scratch})
        if (!FileOps::folderExists(folder))
            FileOps::makeFolder(folder);
    QStringList names;
    for (const PlaylistEntry& row : ctx.playlist.rows)
        if (!row.Thumbnail.isEmpty())
            names << row.Thumbnail;
    names.removeDuplicates();
    QStringList work;  // without extension, one per picture
    for (qsizetype n = 0; n < names.size(); ++n)
        work << scratch + QStringLiteral("pic%1").arg(n + 1);

    const auto removeWork = qScopeGuard([&work, &names] {
        for (qsizetype n = 0; n < work.size(); ++n)
            for (const char* extension : {".jpg", ".fcx"})
                if (names.indexOf(QFileInfo(work[n] + extension).fileName()) < 0)
                    QFile::remove(work[n] + extension);
    });
    const QSize canvas(Width, Height);
    for (qsizetype n = 0; n < names.size(); ++n)
        FileOps::copyFile(ctx.playlist.ThumbImagesPath + names[n],
                          work[n] + QStringLiteral(".jpg"));
    for (qsizetype n = 0; n < names.size(); ++n)
        PicFormat32::saveBitmap(
            PictureFitter::fitJpegFile(work[n] + QStringLiteral(".jpg"), canvas),
            work[n] + QStringLiteral(".fcx"));
    for (qsizetype n = 0; n < names.size(); ++n) {
        PicFormat32::convert(work[n] + QStringLiteral(".fcx"), scratch + names[n], kJpegQuality);
        FileOps::copyFile(scratch + names[n], output + names[n]);
    }
}
