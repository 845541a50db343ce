#include <QMimeDatabase>
#include <QtTest>

#include "FakeProgram.h"
#include "app/ProfileCommands.h"
#include "media/PlaylistFile.h"
#include "platform/TextFile.h"

// The file types of support/desktop/vidlark.xml as a desktop sees them once they are installed:
// the database the desktop.mimeDatabase test makes from them, read by Qt's database, is asked
// about files the program writes, by name and by content.
class FileTypesTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void byNameAndContent_data();
    void byNameAndContent();
    void otherContent_data();
    void otherContent();
    void comments();

  private:
    QTemporaryDir m_dir;
};

namespace {

const QString Profile = QStringLiteral("application/x-vidlark-profile");
const QString PlaylistType = QStringLiteral("application/x-vidlark-playlist");

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A profile saved by "&Save Profile", for a single video or a playlist.
QByteArray savedProfile(const QString& path, bool multiple, StreamingMode mode) {
    FakeProgram program;
    if (multiple)
        program.controller.window().selectMultiple();
    program.controller.window().selectStreamingMode(mode);
    program.dialogs.saveAnswers.enqueue(path);
    ProfileCommands(program.controller).save();
    return fileBytes(path);
}

QByteArray savedPlaylist(const QString& path, PlaylistPosition position) {
    Playlist playlist;
    playlist.position = position;
    playlist.rows = {{"a.flv", {}, {}, "A", {}, {}, {}}};
    PlaylistFile::write(path, playlist, false);
    return fileBytes(path);
}

}  // namespace

void FileTypesTest::initTestCase() {
    // Only the scratch database and the system's: nothing of the user's own.
    qputenv("XDG_DATA_HOME", m_dir.filePath(QStringLiteral("home")).toLocal8Bit());
    qputenv("XDG_DATA_DIRS", QByteArrayLiteral(VIDLARK_MIME_ROOT ":/usr/share"));
    QVERIFY(QFile::exists(QStringLiteral(VIDLARK_MIME_ROOT "/mime/mime.cache")));
}

void FileTypesTest::byNameAndContent_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("type");
    const auto path = [this](const QString& name) { return m_dir.filePath(name); };
    QTest::newRow("profile of a single video")
        << "single.epe" << savedProfile(path("single.epe"), false, StreamingMode::Normal)
        << Profile;
    QTest::newRow("profile of a playlist, RTMP")
        << "multiple.epe" << savedProfile(path("multiple.epe"), true, StreamingMode::Rtmp)
        << Profile;
    QTest::newRow("profile, upper-case suffix")
        << "OLD.EPE" << savedProfile(path("OLD.EPE"), false, StreamingMode::Pseudo) << Profile;
    QTest::newRow("playlist beside the player")
        << "right.plf" << savedPlaylist(path("right.plf"), PlaylistPosition::Right) << PlaylistType;
    QTest::newRow("playlist under the player")
        << "bottom.plf" << savedPlaylist(path("bottom.plf"), PlaylistPosition::Bottom)
        << PlaylistType;
}

void FileTypesTest::byNameAndContent() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, type);
    QVERIFY(!bytes.isEmpty());
    const QMimeDatabase db;
    QCOMPARE(db.mimeTypeForFile(m_dir.filePath(name), QMimeDatabase::MatchExtension).name(), type);
    // A copy that lost its name (an attachment, a download) is known by its first line.
    QCOMPARE(db.mimeTypeForData(bytes).name(), type);
}

// Plain text that looks like the files' first lines before they are scrambled, and a first line
// of the right bytes without its line end, belong to neither type.
void FileTypesTest::otherContent_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("plain profile line") << QByteArray("SIN1\r\n0\r\n");
    QTest::newRow("plain playlist line") << QByteArray("True\r\nFalse\r\n");
    QTest::newRow("scrambled SIN, no line end") << QByteArray("\xc2\xbb\xc4\x96\x9f\x9f");
    QTest::newRow("scrambled False, longer line") << QByteArray("\xb5\xd3\xe2\xd8\xd1\xd1\r\n");
}

void FileTypesTest::otherContent() {
    QFETCH(QByteArray, bytes);
    const QString found = QMimeDatabase().mimeTypeForData(bytes).name();
    QVERIFY2(found != Profile && found != PlaylistType, qPrintable(found));
}

void FileTypesTest::comments() {
    const QMimeDatabase db;
    QCOMPARE(db.mimeTypeForName(Profile).comment(), QStringLiteral("Vidlark profile"));
    QCOMPARE(db.mimeTypeForName(PlaylistType).comment(), QStringLiteral("Vidlark playlist"));
    QCOMPARE(db.mimeTypeForName(PlaylistType).genericIconName(), QStringLiteral("vidlark"));
}

QTEST_GUILESS_MAIN(FileTypesTest)
#include "tst_FileTypes.moc"
