#include <sys/stat.h>
#include <unistd.h>
#include <QtTest>

#include "FakeClockRandom.h"
#include "FakeDialogs.h"
#include "FakeViews.h"
#include "TestFiles.h"
#include "TestInstallation.h"
#include "app/MainController.h"
#include "app/ProfileCommands.h"
#include "settings/ProfileFile.h"

// The intro and outro images as the main window's commands drive them: fitting, the rendered
// files of each set, and re-rendering when the player size changes or a profile is loaded. The
// pictures are drawn here; the rendered JPEGs are measured.
class IntroOutroImagesTest : public QObject {
    Q_OBJECT

  private slots:
    void fitting_data();
    void fitting();
    void setsAreIndependent();
    void refusedChoiceKeepsPrevious_data();
    void refusedChoiceKeepsPrevious();
    void reload_data();
    void reload();
    void clearWithUndeletableRendering();
    void showOpensRenderedJpeg();
    void workFileIsRefused_data();
    void workFileIsRefused();
    void renderingReplacesALinkInTheScratchFolder();
};

namespace {

using Kind = IntroOutroImages::Kind;

struct Fixture {
    // Entry 0: a 4:3 player (402 x 302 rendered); entry 1: 16:9.
    TestInstallation install{{"Skin-30-dark"}, {"400x300", "640x360 Widescreen"}};
    FakeDialogs dialogs;
    FakeViews views;
    FakeClock clock;
    FakeRandom random;
    MainController controller{install.paths(), dialogs, views, clock, random};

    Fixture() { controller.loadInstallation(); }

    // A white picture of that size saved as a JPEG (or `format`) beside the installation.
    QString picture(const QString& name, QSize size, const char* format = "JPG") {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        const QString path = install.path(name);
        image.save(path, format);
        return path;
    }
    QString scratch(const QString& name) const { return install.appFolder() + "/temp/" + name; }
    void choose(Kind kind, const QString& path) {
        dialogs.openAnswers.enqueue(QStringList{path});
        controller.chooseImage(kind);
    }
    const ProjectSettings& s() const { return controller.settings(); }
};

// The bright area of an image: first and last bright row and column along its middle lines.
QRect brightArea(const QImage& image) {
    const auto bright = [&image](int x, int y) { return qGray(image.pixel(x, y)) > 128; };
    int top = -1, bottom = -1, left = -1, right = -1;
    for (int y = 0; y < image.height(); ++y)
        if (bright(image.width() / 2, y)) {
            top = top < 0 ? y : top;
            bottom = y;
        }
    for (int x = 0; x < image.width(); ++x)
        if (bright(x, image.height() / 2)) {
            left = left < 0 ? x : left;
            right = x;
        }
    return top < 0 || left < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

}  // namespace

void IntroOutroImagesTest::fitting_data() {
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QRect>("drawn");  // in the 402 x 302 rendering of the 400 x 300 player

    QTest::newRow("smaller: centred, not enlarged") << QSize(100, 50) << QRect(151, 126, 100, 50);
    // 402 / 640 * 360 = 226.1 rows; (302 - 226) / 2 = 38 black rows above and below.
    QTest::newRow("16:9 on 4:3: full width, bands") << QSize(640, 360) << QRect(0, 38, 402, 226);
    // 302 / 600 * 300 = 151 columns.
    QTest::newRow("portrait: full height") << QSize(300, 600) << QRect(125, 0, 151, 302);
    QTest::newRow("exactly the rendering") << QSize(402, 302) << QRect(0, 0, 402, 302);
}

void IntroOutroImagesTest::fitting() {
    QFETCH(QSize, picture);
    QFETCH(QRect, drawn);
    Fixture f;
    f.choose(Kind::Intro, f.picture("source.jpg", picture));
    QVERIFY2(f.dialogs.messages.isEmpty(), qPrintable(f.dialogs.texts().join('\n')));
    QCOMPARE(f.s().IntroImageName, QStringLiteral("source.jpg"));
    QCOMPARE(f.s().IntroImagePath, f.install.path("source.jpg"));
    QCOMPARE(f.controller.window().states().currentTab, 2);

    const QImage rendered(f.scratch("temp.jpg"), "JPG");
    QCOMPARE(rendered.size(), QSize(402, 302));
    QCOMPARE(QImage(f.scratch("temp.fcx"), "BMP").size(), QSize(402, 302));
    QCOMPARE(brightArea(rendered), drawn);
    QVERIFY(!f.controller.images().preview(Kind::Intro).isNull());
}

void IntroOutroImagesTest::setsAreIndependent() {
    Fixture f;
    f.choose(Kind::Intro, f.picture("intro.jpg", QSize(64, 48)));
    const auto intro = [&f] {
        QFile bitmap(f.scratch("temp.fcx")), jpeg(f.scratch("temp.jpg"));
        return bitmap.open(QIODevice::ReadOnly) && jpeg.open(QIODevice::ReadOnly)
                   ? bitmap.readAll() + jpeg.readAll()
                   : QByteArray();
    };
    const QByteArray before = intro();
    QVERIFY(!before.isEmpty());

    f.choose(Kind::Outro, f.picture("outro.jpg", QSize(800, 600)));
    QCOMPARE(f.controller.window().states().currentTab, 3);
    QVERIFY(QFile::exists(f.scratch("semp.jpg")) && QFile::exists(f.scratch("semp.fcx")));
    f.controller.clearOutroImage();
    QVERIFY(!QFile::exists(f.scratch("semp.jpg")) && !QFile::exists(f.scratch("semp.fcx")));
    QCOMPARE(f.s().OutroImageName, QString());
    QCOMPARE(f.s().OutroImagePath, QString());
    QVERIFY(f.controller.images().preview(Kind::Outro).isNull());
    QCOMPARE(intro(), before);
    QCOMPARE(f.s().IntroImageName, QStringLiteral("intro.jpg"));

    f.choose(Kind::Outro, f.picture("outro.jpg", QSize(800, 600)));
    f.controller.clearIntroImage();
    QVERIFY(!QFile::exists(f.scratch("temp.jpg")));
    QVERIFY(QFile::exists(f.scratch("semp.jpg")));
    f.controller.clearIntroImage();  // nothing left to clear: nothing shown
    QVERIFY(f.dialogs.messages.isEmpty());
}

void IntroOutroImagesTest::refusedChoiceKeepsPrevious_data() {
    QTest::addColumn<QString>("chosen");  // "" is a cancelled dialog
    QTest::addColumn<QString>("message");

    QTest::newRow("cancel") << QString() << QString();
    QTest::newRow("PNG named .jpg")
        << "fake.jpg"
        << "THE FILE \"%1\" IS NOT A READABLE JPEG FILE. THE INTRO IMAGE IS UNCHANGED.\n"
           "The file holds no JPEG picture";
    QTest::newRow("text named .jpg")
        << "notes.jpg"
        << "THE FILE \"%1\" IS NOT A READABLE JPEG FILE. THE INTRO IMAGE IS UNCHANGED.\n"
           "The file holds no JPEG picture";
    QTest::newRow("gone meanwhile")
        << "gone.jpg"
        << "THE FILE \"%1\" WAS NOT FOUND. THE INTRO IMAGE IS UNCHANGED.\n"
           "No such file or directory";
    QTest::newRow("a FIFO")
        << "pipe.jpg"
        << "THE FILE \"%1\" IS NOT A READABLE JPEG FILE. THE INTRO IMAGE IS UNCHANGED.\n"
           "Is a FIFO (named pipe), not a regular file";
}

void IntroOutroImagesTest::refusedChoiceKeepsPrevious() {
    QFETCH(QString, chosen);
    QFETCH(QString, message);
    Fixture f;
    const QString good = f.picture("good.jpg", QSize(320, 240));
    f.choose(Kind::Intro, good);
    f.picture("fake.jpg", QSize(320, 240), "PNG");
    QFile notes(f.install.path("notes.jpg"));
    QVERIFY(notes.open(QIODevice::WriteOnly) && notes.write("not a picture") > 0);
    notes.close();
    QVERIFY(::mkfifo(QFile::encodeName(f.install.path("pipe.jpg")).constData(), 0666) == 0);
    const QByteArray rendered = [&f] {
        QFile jpeg(f.scratch("temp.jpg"));
        return jpeg.open(QIODevice::ReadOnly) ? jpeg.readAll() : QByteArray();
    }();
    const qint64 previewKey = f.controller.images().preview(Kind::Intro).cacheKey();

    if (chosen.isEmpty())
        f.dialogs.openAnswers.enqueue(std::nullopt);
    else
        f.dialogs.openAnswers.enqueue(QStringList{f.install.path(chosen)});
    f.controller.chooseIntroImage();

    const QString path = f.install.path(chosen);
    QCOMPARE(f.dialogs.texts(), message.isEmpty() ? QStringList() : QStringList{message.arg(path)});
    QCOMPARE(f.dialogs.fileRequests.last().title, QStringLiteral("Open Picture File"));
    QCOMPARE(f.dialogs.fileRequests.last().filter, QStringLiteral("JPEG files (*.jpg)|*.jpg|"));
    QCOMPARE(f.s().IntroImagePath, good);
    QCOMPARE(f.s().IntroImageName, QStringLiteral("good.jpg"));
    QFile jpeg(f.scratch("temp.jpg"));
    QVERIFY(jpeg.open(QIODevice::ReadOnly));
    QCOMPARE(jpeg.readAll(), rendered);
    QCOMPARE(f.controller.images().preview(Kind::Intro).cacheKey(), previewKey);
}

void IntroOutroImagesTest::reload_data() {
    QTest::addColumn<bool>("byProfile");  // else by a size change
    QTest::addColumn<bool>("sourceGone");

    QTest::newRow("size change") << false << false;
    QTest::newRow("size change, source gone") << false << true;
    QTest::newRow("profile load") << true << false;
    QTest::newRow("profile load, source gone") << true << true;
}

// Both renderings are made again from their sources, never from an earlier rendering. A source
// that has gone empties its set whole, with a message naming it.
void IntroOutroImagesTest::reload() {
    QFETCH(bool, byProfile);
    QFETCH(bool, sourceGone);
    Fixture f;
    const QString intro = f.picture("intro.jpg", QSize(1000, 500));
    f.choose(Kind::Intro, intro);
    f.choose(Kind::Outro, f.picture("outro.jpg", QSize(200, 400)));
    if (byProfile) {
        // The profile holds the new size: its renderings are made by the load itself.
        const QString profile = f.install.path("project.epe");
        f.controller.selectPlayerSize(1);
        ProfileFile::write(profile, ProfileCommands(f.controller).values());
        for (const char* name : {"temp.jpg", "semp.jpg"})
            QVERIFY(QFile::remove(f.scratch(name)));
        if (sourceGone)
            QVERIFY(QFile::remove(intro));
        f.controller.readProfile(profile);
    } else {
        if (sourceGone)
            QVERIFY(QFile::remove(intro));
        f.controller.selectPlayerSize(1);
    }

    const QStringList gone{"THE INTRO IMAGE \"" + intro +
                           "\" WAS NOT FOUND. THE INTRO IMAGE HAS BEEN CLEARED.\n"
                           "No such file or directory"};
    QCOMPARE(f.dialogs.texts(), sourceGone ? gone : QStringList());
    QCOMPARE(QImage(f.scratch("semp.jpg"), "JPG").size(), QSize(642, 362));
    QCOMPARE(f.s().OutroImageName, QStringLiteral("outro.jpg"));
    if (sourceGone) {
        QCOMPARE(f.s().IntroImageName, QString());
        QCOMPARE(f.s().IntroImagePath, QString());
        QVERIFY(!QFile::exists(f.scratch("temp.jpg")) && !QFile::exists(f.scratch("temp.fcx")));
        QVERIFY(f.controller.images().preview(Kind::Intro).isNull());
    } else {
        QCOMPARE(QImage(f.scratch("temp.jpg"), "JPG").size(), QSize(642, 362));
        QCOMPARE(f.s().IntroImagePath, intro);
    }
}

// A rendering held open by a viewer cannot be deleted on some systems; here a folder in its place
// stands for it. The set is empty all the same, and generation no longer copies the file.
void IntroOutroImagesTest::clearWithUndeletableRendering() {
    Fixture f;
    QVERIFY(QDir().mkpath(f.scratch("temp.jpg/held")));
    f.controller.clearIntroImage();
    QCOMPARE(f.s().IntroImageName, QString());
    QVERIFY(f.dialogs.messages.isEmpty());
}

void IntroOutroImagesTest::showOpensRenderedJpeg() {
    Fixture f;
    f.controller.showIntroImage();
    f.controller.showOutroImage();
    const QString sep = QDir::separator();
    QCOMPARE(f.views.log.mid(f.views.log.size() - 2),
             QStringList({"open:" + f.install.appFolder() + sep + "temp" + sep + "temp.jpg",
                          "open:" + f.install.appFolder() + sep + "temp" + sep + "semp.jpg"}));
}

// The rendered files are rewritten at every choice and size change, so a picture that is one of
// them (chosen there, or reached through a link) would be replaced by its own fitted copy.
void IntroOutroImagesTest::workFileIsRefused_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("work");   // the rendered file the chosen picture is
    QTest::addColumn<QString>("reach");  // how it is chosen: "itself", "hard link", "symbolic link"
    QTest::newRow("intro's own rendering") << int(Kind::Intro) << "temp.jpg"
                                           << "itself";
    QTest::newRow("outro's rendering as intro") << int(Kind::Intro) << "semp.jpg"
                                                << "itself";
    QTest::newRow("intro's rendering as outro") << int(Kind::Outro) << "temp.jpg"
                                                << "itself";
    QTest::newRow("hard link to a rendering") << int(Kind::Intro) << "semp.jpg"
                                              << "hard link";
    QTest::newRow("symbolic link to a rendering") << int(Kind::Outro) << "semp.jpg"
                                                  << "symbolic link";
}

void IntroOutroImagesTest::workFileIsRefused() {
    QFETCH(int, kind);
    QFETCH(QString, work);
    QFETCH(QString, reach);
    Fixture f;
    const QString intro = f.picture("intro.jpg", QSize(320, 240));
    const QString outro = f.picture("outro.jpg", QSize(64, 48));
    f.choose(Kind::Intro, intro);
    f.choose(Kind::Outro, outro);
    QVERIFY(f.dialogs.messages.isEmpty());
    const QByteArray workBytes = TestFiles::readFile(f.scratch(work));
    QString chosen = f.scratch(work);
    const QByteArray link = QFile::encodeName(f.install.path("linked.jpg"));
    if (reach == "hard link")
        QVERIFY(::link(QFile::encodeName(chosen).constData(), link.constData()) == 0);
    if (reach == "symbolic link")
        QVERIFY(::symlink(QFile::encodeName(chosen).constData(), link.constData()) == 0);
    if (reach != "itself")
        chosen = f.install.path("linked.jpg");

    f.choose(Kind(kind), chosen);

    const QString word = Kind(kind) == Kind::Intro ? "INTRO" : "OUTRO";
    QCOMPARE(f.dialogs.texts(),
             QStringList{QStringLiteral("THE FILE \"%1\" IS A WORK FILE OF THIS PROGRAM, WHICH "
                                        "REPLACES IT. PLEASE CHOOSE A PICTURE KEPT IN ANOTHER "
                                        "FOLDER. THE %2 IMAGE IS UNCHANGED.")
                             .arg(chosen, word)});
    QCOMPARE(TestFiles::readFile(f.scratch(work)), workBytes);
    QCOMPARE(f.s().IntroImagePath, intro);
    QCOMPARE(f.s().OutroImagePath, outro);
}

// A link left in the scratch folder under a rendered file's name is replaced by the rendering;
// the file it pointed to stays as it was.
void IntroOutroImagesTest::renderingReplacesALinkInTheScratchFolder() {
    Fixture f;
    const QString mine = f.picture("mine.jpg", QSize(64, 48));
    const QByteArray before = TestFiles::readFile(mine);
    QDir().mkpath(f.scratch(QString()));
    QFile::remove(f.scratch("temp.jpg"));
    QVERIFY(QFile::link(mine, f.scratch("temp.jpg")));

    f.choose(Kind::Intro, f.picture("other.jpg", QSize(320, 240)));

    QVERIFY2(f.dialogs.messages.isEmpty(), qPrintable(f.dialogs.texts().join('\n')));
    QCOMPARE(TestFiles::readFile(mine), before);
    QVERIFY(!QFileInfo(f.scratch("temp.jpg")).isSymLink());
    QCOMPARE(QImage(f.scratch("temp.jpg"), "JPG").size(), QSize(402, 302));
}

QTEST_GUILESS_MAIN(IntroOutroImagesTest)
#include "tst_IntroOutroImages.moc"
