#include <QtTest>
#include <QtWidgets>

#include "ProgramWindows.h"

// Every window fits a 1280 x 720 screen with a panel on it, and the main window's commands stay
// within reach there.
class WindowSizesTest : public QObject {
    Q_OBJECT

  private slots:
    void fitsSmallScreen_data();
    void fitsSmallScreen();
    void generateWithinSmallScreen();
    void singleVideoValuesShareOneEdge();
};

namespace {

// What a small screen leaves for a window's outer size once a panel takes its part, and what a
// window manager's title bar and borders add to the size Qt lays out (the offscreen platform
// draws no frame of its own).
const QSize kScreenRoom(1280, 680);
const QSize kFrame(16, 40);
const QSize kRoom = kScreenRoom - kFrame;

bool fits(const QSize& size) {
    return size.width() <= kRoom.width() && size.height() <= kRoom.height();
}

QString text(const QSize& size) {
    return QStringLiteral("%1 x %2").arg(size.width()).arg(size.height());
}

}  // namespace

void WindowSizesTest::fitsSmallScreen_data() {
    QTest::addColumn<QString>("window");
    for (const QString& name : ProgramWindows::names())
        QTest::newRow(qPrintable(name)) << name;
}

void WindowSizesTest::fitsSmallScreen() {
    QFETCH(QString, window);
    ProgramWindows program;
    const std::unique_ptr<QWidget> shown = program.make(window);
    shown->show();
    QVERIFY2(fits(shown->size()), qPrintable("opens at " + text(shown->size())));
    const QSize smallest = shown->minimumSizeHint().expandedTo(shown->minimumSize());
    QVERIFY2(fits(smallest), qPrintable("cannot shrink below " + text(smallest)));
}

void WindowSizesTest::generateWithinSmallScreen() {
    ProgramWindows program;
    const std::unique_ptr<QWidget> frmMain = program.make("frmMain");
    frmMain->show();
    frmMain->resize(kRoom);
    QCoreApplication::processEvents();
    auto* generate = frmMain->findChild<QPushButton*>("cmdGenerate");
    const QRect onWindow(generate->mapTo(frmMain.get(), QPoint(0, 0)), generate->size());
    QVERIFY2(QRect(QPoint(0, 0), kRoom).contains(onWindow),
             qPrintable("the button lies at " + text(QSize(onWindow.right(), onWindow.bottom()))));
    // Not hidden behind the edge of a scrolled part either.
    QCOMPARE(generate->visibleRegion().boundingRect(), generate->rect());
}

// The file names, paths and folders of the three groups start at one left edge, so the eye can
// run down one column.
void WindowSizesTest::singleVideoValuesShareOneEdge() {
    ProgramWindows program;
    const std::unique_ptr<QWidget> dialog = program.make("frmVideoFilesSingle");
    dialog->show();
    QMap<int, QStringList> edges;
    for (const QString kind : {"Flv", "Mp4", "Webm"})
        for (const QString field : {"FileName", "FilePath", "FilePathOnly"}) {
            const QString name = "lbl" + kind + "Video" + field;
            auto* value = dialog->findChild<QLabel*>(name);
            QVERIFY2(value != nullptr, qPrintable(name));
            edges[value->mapTo(dialog.get(), QPoint(0, 0)).x()].append(name);
        }
    QStringList found;
    for (auto it = edges.cbegin(); it != edges.cend(); ++it)
        found.append(QString::number(it.key()) + ": " + it.value().join(", "));
    QVERIFY2(edges.size() == 1, qPrintable(found.join("; ")));
}

QTEST_MAIN(WindowSizesTest)
#include "tst_WindowSizes.moc"
