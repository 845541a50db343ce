#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>
#include <functional>

#include "../flvmdi/ScratchMount.h"
#include "FakeProgram.h"
#include "TestFiles.h"
#include "app/ProfileCommands.h"
#include "appearance/PicFormat32.h"
#include "appearance/PictureFitter.h"
#include "media/CaptionFile.h"
#include "media/CaptionFileError.h"
#include "media/PlaylistFile.h"
#include "platform/AppError.h"
#include "platform/TextFile.h"
#include "settings/AdvancedOptionsFile.h"
#include "settings/PlayerSizesFile.h"
#include "settings/ProfileFile.h"

// Every writer and every reader of the user's own files, on real files: a full tmpfs, device
// nodes, FIFOs, folders and links under the file's name. A writer leaves the old file byte for
// byte (and a node, FIFO or folder as it was) and raises an error naming the file with its
// cause; a reader refuses what is not a regular file at once, naming it.
class UserFilesTest : public QObject {
    Q_OBJECT

  private slots:
    void writersKeepTheOldFile_data();
    void writersKeepTheOldFile();
    void readersRefuseAtOnce_data();
    void readersRefuseAtOnce();
    void profileSavedFromTheWindowOnAFullDisk();
    void writeFollowsALinkToTheFile();
    void writeThroughALinkThatLeadsNowhereMakesItsFile();
    void writeKeepsTheFilesPermissions();
    void reasonsNameTheCause_data();
    void reasonsNameTheCause();
};

namespace {

// A writer of a user file. The folder stands for the application folder of the configuration
// files; the others are saved in it under a name of their own.
struct Writer {
    std::function<QString(const QString& folder)> target;
    std::function<void(const QString& folder)> write;
};

QString inConfig(const QString& folder, const char* name) {
    return folder + QStringLiteral("/config/") + QLatin1String(name);
}

QList<QPair<const char*, Writer>> writers() {
    return {
        {"profile",
         {[](const QString& f) { return f + QStringLiteral("/p.epe"); },
          [](const QString& f) {
              QStringList values(26);
              values[24] = QStringLiteral("new");
              ProfileFile::write(f + QStringLiteral("/p.epe"), values);
          }}},
        {"playlist",
         {[](const QString& f) { return f + QStringLiteral("/list.plf"); },
          [](const QString& f) {
              Playlist playlist;
              playlist.rows.first().Title = QStringLiteral("new");
              PlaylistFile::write(f + QStringLiteral("/list.plf"), playlist, false);
          }}},
        {"advanced options",
         {[](const QString& f) { return inConfig(f, "configsv.txt"); },
          [](const QString& f) {
              AdvancedOptionsFile::write(f + QStringLiteral("/config"),
                                         AdvancedOptionsFile::defaults());
          }}},
        {"player sizes",
         {[](const QString& f) { return inConfig(f, "configvws.txt"); },
          [](const QString& f) {
              PlayerSizesFile::writeText(f + QStringLiteral("/config"), QStringLiteral("640x360"));
          }}},
        // Not the user's own, but the same writer: the rendered pictures of the scratch folder.
        {"rendered picture",
         {[](const QString& f) { return f + QStringLiteral("/temp.fcx"); },
          [](const QString& f) {
              QImage image(64, 48, QImage::Format_RGB32);
              image.fill(Qt::red);
              PicFormat32::saveBitmap(image, f + QStringLiteral("/temp.fcx"));
          }}},
    };
}

enum class Target { FullDisk, DeviceNode, Fifo, Folder };

const QByteArray kOld("old bytes\r\n");

// Fills the file system of `folder` to the last byte.
void fill(const QString& folder) {
    QFile filler(folder + QStringLiteral("/fill"));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return;
    const QByteArray block(4096, 'f');
    while (filler.write(block) > 0) {
    }
    const QByteArray byte(1, 'f');
    while (filler.write(byte) > 0) {
    }
}

QString typeOf(const QString& path) {
    struct stat info {};
    if (lstat(QFile::encodeName(path).constData(), &info) != 0)
        return QStringLiteral("missing");
    if (S_ISREG(info.st_mode))
        return QStringLiteral("file");
    if (S_ISDIR(info.st_mode))
        return QStringLiteral("folder");
    if (S_ISFIFO(info.st_mode))
        return QStringLiteral("fifo");
    if (S_ISCHR(info.st_mode))
        return QStringLiteral("character device");
    if (S_ISLNK(info.st_mode))
        return QStringLiteral("link");
    return QStringLiteral("other");
}

// A reader that hangs fails the test instead of holding it until CTest gives up.
const char* g_runningRow = "";

void hungReader(int) {
    const char text[] = "FAIL: a reader did not return within 10 s (it waits on the file): ";
    (void)!::write(STDERR_FILENO, text, sizeof text - 1);
    (void)!::write(STDERR_FILENO, g_runningRow, std::strlen(g_runningRow));
    (void)!::write(STDERR_FILENO, "\n", 1);
    _exit(3);
}

class Alarm {
  public:
    explicit Alarm(const char* row) {
        g_runningRow = row;
        ::signal(SIGALRM, hungReader);
        ::alarm(10);
    }
    ~Alarm() { ::alarm(0); }
};

// What the user is told when the reader fails; empty when it did not fail.
using Reader = std::function<QString(const QString& path)>;

template <typename Read>
Reader raising(Read read) {
    return [read](const QString& path) {
        try {
            read(path);
        } catch (const AppError& error) {
            return commonErrorMessage(error);
        }
        return QString();
    };
}

// The caption reader words its refusals as caption messages: the file on the second line.
Reader captionRefusal() {
    return [](const QString& path) {
        try {
            CaptionFile::toWebVtt(path);
        } catch (const CaptionFileError& error) {
            return error.message();
        }
        return QString();
    };
}

enum class Special { Fifo, DevZero, Folder };

// The application folder of a configuration file (APP/config/NAME).
QString configFolderOf(const QString& configFile) {
    return QFileInfo(configFile).path();
}

}  // namespace

Q_DECLARE_METATYPE(Writer)
Q_DECLARE_METATYPE(Target)
Q_DECLARE_METATYPE(Reader)
Q_DECLARE_METATYPE(Special)

void UserFilesTest::writersKeepTheOldFile_data() {
    QTest::addColumn<Writer>("writer");
    QTest::addColumn<Target>("target");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("reason");
    const QList<QPair<Target, QString>> targets{
        {Target::FullDisk, QStringLiteral("full disk")},
        {Target::DeviceNode, QStringLiteral("device node")},
        {Target::Fifo, QStringLiteral("FIFO")},
        {Target::Folder, QStringLiteral("folder")},
    };
    for (const auto& [name, writer] : writers())
        for (const auto& [target, where] : targets) {
            const int number = target == Target::FullDisk ? 61 : 75;
            const QString reason =
                target == Target::FullDisk     ? QStringLiteral("No space left on device")
                : target == Target::DeviceNode ? "Is a character device, not a regular file"
                : target == Target::Fifo       ? "Is a FIFO (named pipe), not a regular file"
                                               : "Is a directory";
            QTest::addRow("%s, %s", name, qPrintable(where))
                << writer << target << number << reason;
        }
}

void UserFilesTest::writersKeepTheOldFile() {
    QFETCH(Writer, writer);
    QFETCH(Target, target);
    QFETCH(int, number);
    QFETCH(QString, reason);
    std::unique_ptr<ScratchMount> disk;
    QTemporaryDir dir;
    QString folder = dir.path();
    if (target == Target::FullDisk) {
        disk = std::make_unique<ScratchMount>("tmpfs", "size=16k");
        if (!disk->mounted())
            QSKIP(qPrintable(disk->problem()));
        folder = disk->path();
    }
    if (target == Target::DeviceNode && ::geteuid() != 0)
        QSKIP("needs root to make a device node");
    QVERIFY(QDir(folder).mkpath(QStringLiteral("config")));
    const QString path = writer.target(folder);
    const QByteArray pathBytes = QFile::encodeName(path);
    switch (target) {
        case Target::FullDisk: {
            QFile old(path);
            QVERIFY(old.open(QIODevice::WriteOnly) && old.write(kOld) == kOld.size());
            old.close();
            fill(folder);
            break;
        }
        case Target::DeviceNode:  // a node of the same device as /dev/null
            QVERIFY(::mknod(pathBytes.constData(), S_IFCHR | 0666, makedev(1, 3)) == 0);
            break;
        case Target::Fifo:
            QVERIFY(::mkfifo(pathBytes.constData(), 0666) == 0);
            break;
        case Target::Folder:
            QVERIFY(QDir().mkdir(path));
            break;
    }
    const QString typeBefore = typeOf(path);
    const QStringList before =
        QDir(QFileInfo(path).path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System);

    QString message;
    int raised = 0;
    {
        const Alarm alarm(QTest::currentDataTag());
        try {
            writer.write(folder);
        } catch (const AppError& error) {
            message = commonErrorMessage(error);
            raised = error.number();
        }
    }

    QCOMPARE(raised, number);
    const QStringList lines = message.split(u'\n');
    QCOMPARE(lines.value(1), QStringLiteral("Writing ") + path);
    QCOMPARE(lines.value(2), reason);
    QCOMPARE(lines.size(), 3);
    QCOMPARE(typeOf(path), typeBefore);
    if (target == Target::FullDisk)
        QCOMPARE(TestFiles::readFile(path), kOld);
    // No temporary file is left beside it.
    QCOMPARE(QDir(QFileInfo(path).path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System),
             before);
}

void UserFilesTest::readersRefuseAtOnce_data() {
    QTest::addColumn<Reader>("reader");
    QTest::addColumn<QString>("name");  // the file read, in the test's folder
    QTest::addColumn<Special>("special");

    const QList<QPair<const char*, QPair<QString, Reader>>> readers{
        {"profile",
         {QStringLiteral("p.epe"), raising([](const QString& p) { ProfileFile::readValues(p); })}},
        {"playlist",
         {QStringLiteral("list.plf"), raising([](const QString& p) { PlaylistFile::read(p); })}},
        {"captions", {QStringLiteral("clip.en.vtt"), captionRefusal()}},
        {"player sizes", {QStringLiteral("config/configvws.txt"), raising([](const QString& p) {
                              PlayerSizesFile::readEntries(configFolderOf(p));
                          })}},
        {"player sizes dialog",
         {QStringLiteral("config/configvws.txt"),
          raising([](const QString& p) { PlayerSizesFile::readText(configFolderOf(p)); })}},
        // Never fails: the problem is the warning shown with the defaults.
        {"advanced options",
         {QStringLiteral("config/configsv.txt"),
          [](const QString& p) {
              QString problem;
              AdvancedOptionsFile::read(configFolderOf(p), &problem);
              return problem;
          }}},
        {"intro picture", {QStringLiteral("intro.jpg"), raising([](const QString& p) {
                               PictureFitter::loadJpeg(p, QSize(480, 270));
                           })}},
        {"thumbnail", {QStringLiteral("pic1.jpg"), raising([](const QString& p) {
                           PictureFitter::fitJpegFile(p, QSize(120, 90));
                       })}},
        {"rendered bitmap", {QStringLiteral("temp.fcx"), raising([](const QString& p) {
                                 PicFormat32::convert(p, p + QStringLiteral(".jpg"), 90);
                             })}},
    };
    const QList<QPair<Special, const char*>> specials{
        {Special::Fifo, "FIFO"}, {Special::DevZero, "/dev/zero"}, {Special::Folder, "folder"}};
    for (const auto& [what, reader] : readers)
        for (const auto& [special, kind] : specials)
            QTest::addRow("%s, %s", what, kind) << reader.second << reader.first << special;
}

void UserFilesTest::readersRefuseAtOnce() {
    QFETCH(Reader, reader);
    QFETCH(QString, name);
    QFETCH(Special, special);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("config")));
    const QString path = dir.filePath(name);
    const QByteArray pathBytes = QFile::encodeName(path);
    QString reason;
    switch (special) {
        case Special::Fifo:
            QVERIFY(::mkfifo(pathBytes.constData(), 0666) == 0);
            reason = QStringLiteral("Is a FIFO (named pipe), not a regular file");
            break;
        case Special::DevZero:  // reached through a link, as a user's file may be
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
            reason = QStringLiteral("Is a character device, not a regular file");
            break;
        case Special::Folder:
            QVERIFY(QDir().mkdir(path));
            reason = QStringLiteral("Is a directory");
            break;
    }

    QElapsedTimer clock;
    clock.start();
    QString message;
    {
        const Alarm alarm(QTest::currentDataTag());
        message = reader(path);
    }
    QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));
    const QStringList lines = message.split(u'\n');
    QVERIFY2(lines.size() == 3, qPrintable(message));
    if (lines[0] == QStringLiteral("CAPTION FILE NOT USABLE.")) {
        QCOMPARE(lines[1], path);
        QVERIFY2(lines[2].contains(QStringLiteral("not a regular file")), qPrintable(message));
        return;
    }
    QVERIFY2(lines[0] == "ERROR# 75 PATH/FILE ACCESS ERROR. PLEASE CONTACT SUPPORT." ||
                 lines[0] == AdvancedOptionsFile::kIncompleteMessage,
             qPrintable(message));
    QCOMPARE(lines[1], QStringLiteral("Reading ") + path);
    QCOMPARE(lines[2], reason);
}

// "&Save Profile" onto a full disk: the common message with the cause, no "PROFILE SAVED", the
// caption unchanged, the old profile byte for byte.
void UserFilesTest::profileSavedFromTheWindowOnAFullDisk() {
    ScratchMount disk("tmpfs", "size=16k");
    if (!disk.mounted())
        QSKIP(qPrintable(disk.problem()));
    FakeProgram program;
    FakeDialogs& dialogs = program.dialogs;
    MainController& controller = program.controller;
    const QString path = disk.filePath(QStringLiteral("p.epe"));
    TextFile::writeBytes(path, kOld);
    fill(disk.path());
    controller.window().settings().ShareTitle = QStringLiteral("new");

    dialogs.saveAnswers.enqueue(path);
    dialogs.answers.enqueue(Dialogs::Answer::Yes);  // replace the existing file
    ProfileCommands(controller).save();

    QCOMPARE(dialogs.texts().mid(1),
             QStringList{"ERROR# 61 DISK FULL. PLEASE CONTACT SUPPORT.\nWriting " + path +
                         "\nNo space left on device"});
    QCOMPARE(TestFiles::readFile(path), kOld);
    QCOMPARE(controller.window().states().caption, QStringLiteral("Vidlark Streaming Video 14"));
    QCOMPARE(QDir(disk.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
             (QStringList{"fill", "p.epe"}));
}

// A profile reached through a link: the file the link leads to is replaced, the link stays.
void UserFilesTest::writeFollowsALinkToTheFile() {
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("real")));
    const QString real = dir.filePath(QStringLiteral("real/p.epe"));
    TextFile::writeLinesAtomically(real, {QStringLiteral("old")});
    // A relative link, through a second link.
    QVERIFY(QFile::link(QStringLiteral("real/p.epe"), dir.filePath(QStringLiteral("one.epe"))));
    QVERIFY(QFile::link(QStringLiteral("one.epe"), dir.filePath(QStringLiteral("two.epe"))));
    TextFile::writeLinesAtomically(dir.filePath(QStringLiteral("two.epe")),
                                   {QStringLiteral("new")});
    QCOMPARE(TestFiles::readFile(real), QByteArray("new\r\n"));
    QCOMPARE(typeOf(dir.filePath(QStringLiteral("one.epe"))), QStringLiteral("link"));
    QCOMPARE(typeOf(dir.filePath(QStringLiteral("two.epe"))), QStringLiteral("link"));
    QCOMPARE(QDir(dir.filePath(QStringLiteral("real"))).entryList(QDir::Files | QDir::Hidden),
             QStringList{"p.epe"});
    QCOMPARE(TextFile::readLines(dir.filePath(QStringLiteral("two.epe"))), QStringList{"new"});

    // A link to a FIFO is refused like the FIFO.
    QVERIFY(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("pipe"))).constData(), 0666) ==
            0);
    QVERIFY(QFile::link(QStringLiteral("pipe"), dir.filePath(QStringLiteral("to-pipe.epe"))));
    try {
        TextFile::writeLinesAtomically(dir.filePath(QStringLiteral("to-pipe.epe")), {"x"});
        QFAIL("wrote through a link to a FIFO");
    } catch (const AppError& error) {
        QCOMPARE(error.reason(), QStringLiteral("Is a FIFO (named pipe), not a regular file"));
        QCOMPARE(error.path(), dir.filePath(QStringLiteral("to-pipe.epe")));
    }
    QCOMPARE(typeOf(dir.filePath(QStringLiteral("pipe"))), QStringLiteral("fifo"));
}

void UserFilesTest::writeThroughALinkThatLeadsNowhereMakesItsFile() {
    QTemporaryDir dir;
    QVERIFY(QFile::link(QStringLiteral("later.epe"), dir.filePath(QStringLiteral("p.epe"))));
    TextFile::writeLinesAtomically(dir.filePath(QStringLiteral("p.epe")), {QStringLiteral("x")});
    QCOMPARE(typeOf(dir.filePath(QStringLiteral("p.epe"))), QStringLiteral("link"));
    QCOMPARE(TestFiles::readFile(dir.filePath(QStringLiteral("later.epe"))), QByteArray("x\r\n"));
}

void UserFilesTest::writeKeepsTheFilesPermissions() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("list.plf"));
    TextFile::writeLinesAtomically(path, {QStringLiteral("old")});
    QVERIFY(::chmod(QFile::encodeName(path).constData(), 0640) == 0);
    TextFile::writeLinesAtomically(path, {QStringLiteral("new")});
    struct stat info {};
    QVERIFY(::stat(QFile::encodeName(path).constData(), &info) == 0);
    QCOMPARE(info.st_mode & 07777, mode_t(0640));
}

// The third line of a file error is the system's reason, whatever the classic number.
void UserFilesTest::reasonsNameTheCause_data() {
    QTest::addColumn<QString>("name");  // in the test's folder
    QTest::addColumn<bool>("reading");
    QTest::addColumn<QString>("text");  // "@" stands for the path
    const QString longName(300, u'n');
    QTest::newRow("reading a name too long")
        << longName << true
        << "ERROR# 75 PATH/FILE ACCESS ERROR. PLEASE CONTACT SUPPORT.\nReading @\n"
           "File name too long";
    QTest::newRow("writing a name too long")
        << longName << false
        << "ERROR# 75 PATH/FILE ACCESS ERROR. PLEASE CONTACT SUPPORT.\nWriting @\n"
           "File name too long";
    QTest::newRow("reading below a file")
        << "file/p.epe" << true
        << "ERROR# 76 PATH NOT FOUND. PLEASE CONTACT SUPPORT.\nReading @\nNot a directory";
    QTest::newRow("writing below a file")
        << "file/p.epe" << false
        << "ERROR# 76 PATH NOT FOUND. PLEASE CONTACT SUPPORT.\nWriting @\nNot a directory";
    QTest::newRow("reading a missing file")
        << "gone.epe" << true
        << "ERROR# 53 FILE NOT FOUND. PLEASE CONTACT SUPPORT.\nReading @\n"
           "No such file or directory";
}

void UserFilesTest::reasonsNameTheCause() {
    QFETCH(QString, name);
    QFETCH(bool, reading);
    QFETCH(QString, text);
    QTemporaryDir dir;
    TextFile::writeLinesAtomically(dir.filePath(QStringLiteral("file")), {});
    const QString path = dir.filePath(name);
    try {
        if (reading)
            ProfileFile::readValues(path);
        else
            ProfileFile::write(path, {});
        QFAIL("did not fail");
    } catch (const AppError& error) {
        QCOMPARE(commonErrorMessage(error), QString(text).replace(u'@', path));
    }
}

QTEST_GUILESS_MAIN(UserFilesTest)
#include "tst_UserFiles.moc"
