// skinmaker APPFOLDER SKIN...
//
// Writes, into the application folder, the preview swfs/SKIN.jpg for every skin name given, and
// the share buttons images/wg_fb.jpg and images/wg_tw.jpg. The look of each preview follows its
// name (bar height, dark or light, floating bar) as the player compiled from player/ does.

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QSaveFile>
#include <QTextStream>

#include "ShareButton.h"
#include "SkinPreview.h"
#include "SkinStyle.h"

namespace {

constexpr int JpegQuality = 90;

bool fail(const QString& message) {
    QTextStream(stderr) << "skinmaker: " << message << Qt::endl;
    return false;
}

bool writeBytes(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return fail(QStringLiteral("cannot write %1").arg(path));
    return true;
}

bool writeJpeg(const QString& path, const QImage& image) {
    // Through a byte buffer, so a failed encoding never leaves half a picture behind.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "JPEG", JpegQuality))
        return fail(
            QStringLiteral("cannot encode %1 (is the Qt JPEG plug-in installed?)").arg(path));
    return writeBytes(path, bytes);
}

bool writeSkin(const QDir& swfs, const QString& name) {
    const std::optional<SkinStyle> style = SkinStyle::fromName(name);
    if (!style)
        return fail(QStringLiteral("%1: characters 6 and 7 must be the bar height in two digits")
                        .arg(name));
    return writeJpeg(swfs.filePath(name + QStringLiteral(".jpg")), SkinPreview::draw(*style));
}

bool writeShareButtons(const QDir& images) {
    for (ShareButton::Kind kind : {ShareButton::Kind::Facebook, ShareButton::Kind::Twitter}) {
        if (!writeJpeg(images.filePath(ShareButton::fileName(kind)), ShareButton::draw(kind)))
            return false;
    }
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);  // finds the image format plug-ins
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() < 2) {
        fail(QStringLiteral("usage: skinmaker APPFOLDER SKIN..."));
        return 2;
    }
    const QDir appFolder(args.takeFirst());
    if (!appFolder.mkpath(QStringLiteral("swfs")) || !appFolder.mkpath(QStringLiteral("images"))) {
        fail(QStringLiteral("cannot create the folders in %1").arg(appFolder.path()));
        return 1;
    }
    const QDir swfs(appFolder.filePath(QStringLiteral("swfs")));
    for (const QString& name : args) {
        if (!writeSkin(swfs, name))
            return 1;
    }
    return writeShareButtons(QDir(appFolder.filePath(QStringLiteral("images")))) ? 0 : 1;
}
