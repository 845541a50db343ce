#include "generate/PlaylistThumbnails.h"

#include "appearance/PicFormat32.h"
#include "appearance/PictureFitter.h"
#include "generate/OutputAssembly.h"
#include "platform/FileOps.h"

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

// Each source is first copied to a work name (pic1.jpg for row 1) and fitted from there, so the
// user's own file is only ever read. All work bitmaps are made before the first thumbnail is
// written, so a thumbnail named like a work copy ("pic2.jpg" in row 1) cannot replace the picture
// of another row. Rows are numbered by their place in the playlist; a row without a thumbnail
// (the editor's empty last row) is passed over.
void PlaylistThumbnails::make(const GenerationContext& ctx) {
    if (ctx.playlist.layout != PlaylistLayout::TitleDescThumb)
        return;
    const QString output = thumbsIn(ctx.outputFolder);
    const QString scratch = thumbsIn(OutputAssembly::scratchFolder(ctx.appFolder));
    for (const QString& folder : {output, scratch})
        if (!FileOps::folderExists(folder))
            FileOps::makeFolder(folder);
    QList<std::pair<QString, QString>> rows;  // work name without extension, thumbnail name
    for (qsizetype row = 0; row < ctx.playlist.rows.size(); ++row)
        if (const QString& name = ctx.playlist.rows[row].Thumbnail; !name.isEmpty())
            rows.append({scratch + QStringLiteral("pic%1").arg(row + 1), name});

    for (const auto& [work, name] : rows)
        FileOps::copyFile(ctx.playlist.ThumbImagesPath + name, work + QStringLiteral(".jpg"));
    const QSize canvas(Width, Height);
    for (const auto& [work, name] : rows)
        PicFormat32::saveBitmap(PictureFitter::fitJpegFile(work + QStringLiteral(".jpg"), canvas),
                                work + QStringLiteral(".fcx"));
    for (const auto& [work, name] : rows) {
        PicFormat32::convert(work + QStringLiteral(".fcx"), scratch + name, kJpegQuality);
        FileOps::copyFile(scratch + name, output + name);
    }
}
