#include <QtTest>

#include "GenerationInputs.h"
#include "TestInstallation.h"
#include "generate/GenerationContext.h"
#include "generate/PlaylistThumbnails.h"
#include "platform/AppError.h"

// The thumbnails of a playlist in the TitleDescThumb layout, made from pictures drawn here.
class PlaylistThumbnailsTest : public QObject {
    Q_OBJECT

  private slots:
    void threeRows();
    void rowsSharingAPictureShareItsThumbnail_data();
    void rowsSharingAPictureShareItsThumbnail();
    void otherLayoutsMakeNone();
    void missingThumbnailEndsTheRun();
};

namespace {

struct Fixture : GenerationInputs {
    TestInstallation install;
    QString pictures = install.path("pictures") + QDir::separator();

    Fixture() {
        QDir().mkpath(pictures);
        settings.Multiple = true;
        playlist.layout = PlaylistLayout::TitleDescThumb;
        playlist.ThumbImagesPath = pictures;
        playlist.rows.clear();
    }
    // A row whose thumbnail is a white picture of that size.
    void addRow(const QString& name, QSize size) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        QVERIFY(image.save(pictures + name, "JPG"));
        playlist.rows.append(PlaylistEntry{"v.flv", {}, {}, "Title", {}, name});
    }
    void run() {
        PlaylistThumbnails::make(
            context(QStringLiteral("Skin-30-dark"), install.outputFolder(), install.paths()));
    }
    QString scratch() const { return install.appFolder() + "/temp/thumbs/"; }
    QString output() const { return install.outputFolder() + "thumbs/"; }
};

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

}  // namespace

void PlaylistThumbnailsTest::threeRows() {
    Fixture f;
    // Named like row 2's work copy, which must still give row 2 its own picture: 58 x 58.
    f.addRow("pic2.jpg", QSize(1000, 1000));
    f.addRow("wide.jpg", QSize(800, 200));  // 80 x 20, bands above and below
    f.addRow("tiny.jpg", QSize(20, 10));    // not enlarged
    f.run();

    // The work copies and bitmaps go once the thumbnails are written.
    QCOMPARE(filesIn(f.scratch()), QStringList({"pic2.jpg", "tiny.jpg", "wide.jpg"}));
    QCOMPARE(filesIn(f.output()), QStringList({"pic2.jpg", "tiny.jpg", "wide.jpg"}));
    // Centre row and centre column of each thumbnail: where the picture is bright.
    const auto bright = [](const QImage& image) {
        int rows = 0, columns = 0;
        for (int y = 0; y < image.height(); ++y)
            rows += qGray(image.pixel(image.width() / 2, y)) > 128;
        for (int x = 0; x < image.width(); ++x)
            columns += qGray(image.pixel(x, image.height() / 2)) > 128;
        return QSize(columns, rows);
    };
    const std::pair<const char*, QSize> expected[] = {
        {"pic2.jpg", {58, 58}}, {"wide.jpg", {80, 20}}, {"tiny.jpg", {20, 10}}};
    for (const auto& [name, drawn] : expected) {
        const QImage thumb(f.output() + name, "JPG");
        QCOMPARE(thumb.size(), QSize(80, 58));
        QCOMPARE(bright(thumb), drawn);
        QCOMPARE(QImage(f.scratch() + name, "JPG").size(), QSize(80, 58));
    }
}

// A long list that shows a few pictures: one thumbnail per picture, and no work file per row.
void PlaylistThumbnailsTest::rowsSharingAPictureShareItsThumbnail_data() {
    QTest::addColumn<QStringList>("rows");  // each row's thumbnail
    QTest::addColumn<QStringList>("made");
    QTest::newRow("one picture, five rows")
        << QStringList{"a.jpg", "a.jpg", "a.jpg", "a.jpg", "a.jpg"} << QStringList{"a.jpg"};
    QTest::newRow("two pictures, alternating")
        << QStringList{"a.jpg", "b.jpg", "a.jpg", "b.jpg"} << QStringList{"a.jpg", "b.jpg"};
    QTest::newRow("a picture named like a work copy, shared")
        << QStringList{"pic2.jpg", "b.jpg", "pic2.jpg"} << QStringList{"b.jpg", "pic2.jpg"};
}

void PlaylistThumbnailsTest::rowsSharingAPictureShareItsThumbnail() {
    QFETCH(QStringList, rows);
    QFETCH(QStringList, made);
    Fixture f;
    for (const QString& name : rows)
        f.addRow(name, name == "b.jpg" ? QSize(800, 200) : QSize(1000, 1000));
    f.run();
    QCOMPARE(filesIn(f.scratch()), made);
    QCOMPARE(filesIn(f.output()), made);
    for (const QString& name : made) {
        const QImage thumb(f.output() + name, "JPG");
        QCOMPARE(thumb.size(), QSize(80, 58));
        // The wide picture leaves dark bands above and below; the square one at the sides.
        const bool wide = name == "b.jpg";
        QCOMPARE(qGray(thumb.pixel(40, 5)) > 128, !wide);
        QCOMPARE(qGray(thumb.pixel(5, 29)) > 128, wide);
    }
}

void PlaylistThumbnailsTest::otherLayoutsMakeNone() {
    Fixture f;
    f.addRow("wide.jpg", QSize(800, 200));
    f.playlist.layout = PlaylistLayout::TitleDesc;
    f.run();
    QVERIFY(!QFileInfo::exists(f.output()));
    QVERIFY(filesIn(f.scratch()).isEmpty());
}

void PlaylistThumbnailsTest::missingThumbnailEndsTheRun() {
    Fixture f;
    f.addRow("wide.jpg", QSize(800, 200));
    QVERIFY(QFile::remove(f.pictures + "wide.jpg"));
    QVERIFY_THROWS_EXCEPTION(AppError, f.run());
}

QTEST_GUILESS_MAIN(PlaylistThumbnailsTest)
#include "tst_PlaylistThumbnails.moc"
