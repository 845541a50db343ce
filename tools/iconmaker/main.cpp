// iconmaker THEMEFOLDER SIZE...
//
// Writes the application icon "vidlark" into an icon theme folder laid out as hicolor is:
// THEMEFOLDER/scalable/apps/vidlark.svg, and THEMEFOLDER/NxN/apps/vidlark.png for every size N
// given. The SVG and the PNGs are drawn from the same shapes (IconDrawing).

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QSaveFile>
#include <QTextStream>

#include "IconDrawing.h"
#include "IconPainter.h"
#include "SvgIcon.h"

namespace {

const QString IconName = QStringLiteral("vidlark");

bool fail(const QString& message) {
    QTextStream(stderr) << "iconmaker: " << message << Qt::endl;
    return false;
}

// Into THEMEFOLDER/SUBFOLDER/apps/, made when missing, whole or not at all.
bool writeIconFile(const QDir& theme, const QString& subfolder, const QString& suffix,
                   const QByteArray& bytes) {
    const QString folder = subfolder + QStringLiteral("/apps");
    if (!theme.mkpath(folder))
        return fail(QStringLiteral("cannot create %1").arg(theme.filePath(folder)));
    const QString path = theme.filePath(folder + QLatin1Char('/') + IconName + suffix);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return fail(QStringLiteral("cannot write %1").arg(path));
    return true;
}

bool writePng(const QDir& theme, int size) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!IconPainter::render(IconDrawing::shapes(), size).save(&buffer, "PNG"))
        return fail(QStringLiteral("cannot encode the %1 pixel icon").arg(size));
    return writeIconFile(theme, QStringLiteral("%1x%1").arg(size), QStringLiteral(".png"), bytes);
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() < 2) {
        fail(QStringLiteral("usage: iconmaker THEMEFOLDER SIZE..."));
        return 2;
    }
    const QDir theme(args.takeFirst());
    const QByteArray svg = SvgIcon::text(IconDrawing::shapes()).toUtf8();
    if (!writeIconFile(theme, QStringLiteral("scalable"), QStringLiteral(".svg"), svg))
        return 1;
    for (const QString& arg : args) {
        bool ok = false;
        const int size = arg.toInt(&ok);
        if (!ok || size < 1 || size > 1024) {
            fail(QStringLiteral("%1: a size is a number of pixels from 1 to 1024").arg(arg));
            return 2;
        }
        if (!writePng(theme, size))
            return 1;
    }
    return 0;
}
