#include <QApplication>
#include <QDir>
#include <QImage>
#include <QTabWidget>
#include <QTextStream>

#include "ProgramWindows.h"

// Pictures of every window as start-up leaves it, one per tab page, and a pixel comparison of two
// such sets: a change that should leave the windows as they were (a form moved to Designer, a
// layout rewritten) is checked by saving the pictures before and after and comparing them.
//
//   vidlark-window-grabs save DIR
//   vidlark-window-grabs compare BEFORE AFTER   (exit 1 when a picture differs or is missing)
namespace {

void settle() {
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

int save(const QString& folder) {
    QDir().mkpath(folder);
    ProgramWindows program;
    for (const QString& name : ProgramWindows::names()) {
        const std::unique_ptr<QWidget> window = program.make(name);
        window->show();
        settle();
        window->grab().save(folder + "/" + name + ".png");
        for (QTabWidget* tabs : window->findChildren<QTabWidget*>()) {
            for (int page = 0; page < tabs->count(); ++page) {
                tabs->setCurrentIndex(page);
                settle();
                window->grab().save(QStringLiteral("%1/%2-%3-%4.png")
                                        .arg(folder, name, tabs->objectName())
                                        .arg(page));
            }
        }
    }
    return 0;
}

// The pixels that differ and the rectangle around them.
QString difference(const QImage& before, const QImage& after) {
    if (before.size() != after.size())
        return QStringLiteral("size %1x%2 became %3x%4")
            .arg(before.width())
            .arg(before.height())
            .arg(after.width())
            .arg(after.height());
    const QImage a = before.convertToFormat(QImage::Format_ARGB32);
    const QImage b = after.convertToFormat(QImage::Format_ARGB32);
    qint64 count = 0;
    QRect box;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (a.pixel(x, y) != b.pixel(x, y)) {
                ++count;
                box |= QRect(x, y, 1, 1);
            }
        }
    }
    if (count == 0)
        return {};
    return QStringLiteral("%1 pixels differ within %2x%3 at %4,%5")
        .arg(count)
        .arg(box.width())
        .arg(box.height())
        .arg(box.x())
        .arg(box.y());
}

int compare(const QString& beforeFolder, const QString& afterFolder) {
    QTextStream out(stdout);
    int faults = 0;
    const QStringList names = QDir(beforeFolder).entryList({"*.png"}, QDir::Files, QDir::Name);
    for (const QString& name : names) {
        const QImage after(afterFolder + "/" + name);
        const QString change = after.isNull()
                                   ? QStringLiteral("missing")
                                   : difference(QImage(beforeFolder + "/" + name), after);
        out << name << ": " << (change.isEmpty() ? QStringLiteral("same") : change) << '\n';
        faults += change.isEmpty() ? 0 : 1;
    }
    out << names.size() << " pictures, " << faults << " differ\n";
    return names.isEmpty() || faults > 0 ? 1 : 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 2 && args[0] == QLatin1String("save"))
        return save(args[1]);
    if (args.size() == 3 && args[0] == QLatin1String("compare"))
        return compare(args[1], args[2]);
    QTextStream(stderr) << "usage: vidlark-window-grabs save DIR | compare BEFORE AFTER\n";
    return 2;
}
