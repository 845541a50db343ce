#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "FakeClockRandom.h"
#include "FakeDialogs.h"
#include "FakeProgram.h"
#include "FakeViews.h"
#include "MediaTools.h"
#include "TestInstallation.h"
#include "WidgetLookup.h"
#include "app/MainController.h"
#include "models/PlaylistEditorModel.h"
#include "models/SingleVideoDialogModel.h"
#include "ui/FrmHtml5Copies.h"
#include "ui/FrmVideoFilesMulti.h"
#include "ui/FrmVideoFilesSingle.h"

// The two HTML5 copy commands of the video windows, pressed in the real widgets on real clips that
// the ffmpeg tool makes here: when they are enabled, that the copy is there and chosen afterwards,
// that Cancel in the progress window leaves nothing, and that an existing copy is asked about.
class Html5CopyCommandsTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void singleEnabled_data();
    void singleEnabled();
    void singleMakesAndChoosesCopy_data();
    void singleMakesAndChoosesCopy();
    void singleCancelLeavesNothing();
    void singleExistingCopyIsAskedAbout_data();
    void singleExistingCopyIsAskedAbout();
    void playlistEnabled_data();
    void playlistEnabled();
    void playlistFillsRowsWithCopies();

  private:
    // A copy of a clip made in initTestCase, alone in a fresh folder.
    QString freshClip(const QString& clip, const QString& name);

    QTemporaryDir m_clips;
    std::unique_ptr<QTemporaryDir> m_folder;
};

namespace {

struct Fixture : FakeProgram {
    explicit Fixture(bool html5 = true) { controller.window().setHtml5(html5); }
};

bool enabled(const QWidget& window, const char* button) {
    return child<QPushButton>(window, button)->isEnabled();
}

QString text(const QWidget& window, const char* label) {
    return child<QLabel>(window, label)->text();
}

void chooseFlash(Fixture& f, const QWidget& dialog, const QString& path) {
    f.dialogs.openAnswers.enqueue(QStringList{path});
    click(dialog, "cmdFLVFile");
}

// Presses Cancel in the progress window as soon as it shows the first progress; `pressedAt` is
// the bar's value then, -1 while it has not been pressed.
class CancelAtFirstReport : public QObject {
  public:
    explicit CancelAtFirstReport(const QWidget& owner) : m_owner(owner) {
        connect(&m_poll, &QTimer::timeout, this, &CancelAtFirstReport::look);
        m_poll.start(1);
    }
    int pressedAt = -1;

  private:
    void look() {
        const auto* progress = m_owner.findChild<FrmHtml5Copies*>();
        if (pressedAt >= 0 || progress == nullptr || !progress->isVisible())
            return;
        const int value = child<QProgressBar>(*progress, "prgCopy")->value();
        if (value > 0) {
            pressedAt = value;
            click(*progress, "cmdCancel");
        }
    }

    const QWidget& m_owner;
    QTimer m_poll;
};

}  // namespace

void Html5CopyCommandsTest::initTestCase() {
    if (!MediaTools::available())
        QSKIP("ffmpeg and ffprobe are not installed");
    QVERIFY(m_clips.isValid());
    // Sorenson H.263 and MP3, as most Flash files hold them: the copy is an encode. The long clip
    // gives the progress window many reports before it is done.
    const struct {
        const char* name;
        const char* size;
        double seconds;
    } clips[] = {{"short.flv", "160x120", 1}, {"long.flv", "320x240", 8}};
    for (const auto& clip : clips) {
        const QString error = MediaTools::ffmpeg(
            MediaTools::testPicture(QString::fromLatin1(clip.size), clip.seconds) +
            MediaTools::testSound(22050, clip.seconds) +
            QStringList{QStringLiteral("-c:v"), QStringLiteral("flv1"), QStringLiteral("-c:a"),
                        QStringLiteral("libmp3lame"),
                        m_clips.filePath(QString::fromLatin1(clip.name))});
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }
}

QString Html5CopyCommandsTest::freshClip(const QString& clip, const QString& name) {
    m_folder = std::make_unique<QTemporaryDir>();
    const QString path = m_folder->filePath(name);
    if (!QFile::copy(m_clips.filePath(clip), path))
        qFatal("cannot copy the clip %s", qPrintable(clip));
    return path;
}

void Html5CopyCommandsTest::singleEnabled_data() {
    QTest::addColumn<bool>("html5");
    QTest::addColumn<QString>("flash");
    QTest::addColumn<bool>("mp4");
    QTest::addColumn<bool>("webm");
    QTest::newRow("html5 off") << false << "/v/clip.flv" << false << false;
    QTest::newRow("no flash file") << true << "" << false << false;
    QTest::newRow("flv chosen") << true << "/v/clip.flv" << true << true;
    // An MP4 chosen as the Flash video is its own Mp4 copy; a WebM can still be made of it.
    QTest::newRow("mp4 chosen") << true << "/v/clip.mp4" << false << true;
}

void Html5CopyCommandsTest::singleEnabled() {
    QFETCH(bool, html5);
    QFETCH(QString, flash);
    Fixture f(html5);
    FrmVideoFilesSingle dialog(f.controller);
    dialog.show();
    if (!flash.isEmpty())
        chooseFlash(f, dialog, flash);
    QTEST(enabled(dialog, "cmdMakeMp4"), "mp4");
    QTEST(enabled(dialog, "cmdMakeWebm"), "webm");
}

void Html5CopyCommandsTest::singleMakesAndChoosesCopy_data() {
    QTest::addColumn<QByteArray>("button");
    QTest::addColumn<QString>("copy");
    QTest::addColumn<QString>("codec");
    QTest::addColumn<QByteArray>("prefix");
    QTest::newRow("mp4") << QByteArray("cmdMakeMp4") << "talk.v2.mp4"
                         << "h264" << QByteArray("lblMp4Video");
    QTest::newRow("webm") << QByteArray("cmdMakeWebm") << "talk.v2.webm"
                          << "vp9" << QByteArray("lblWebmVideo");
}

void Html5CopyCommandsTest::singleMakesAndChoosesCopy() {
    QFETCH(QByteArray, button);
    QFETCH(QString, copy);
    QFETCH(QByteArray, prefix);
    Fixture f;
    FrmVideoFilesSingle dialog(f.controller);
    dialog.show();
    chooseFlash(f, dialog, freshClip(QStringLiteral("short.flv"), QStringLiteral("talk.v2.flv")));
    click(dialog, button.constData());

    const QString target = m_folder->filePath(copy);
    QTEST(MediaTools::probe(target).videoCodec, "codec");
    QVERIFY2(f.dialogs.messages.isEmpty(), qPrintable(f.dialogs.texts().join(QLatin1Char('\n'))));
    QCOMPARE(text(dialog, (prefix + "FileName").constData()), copy);
    QCOMPARE(text(dialog, (prefix + "FilePath").constData()), target);
    QCOMPARE(text(dialog, (prefix + "FilePathOnly").constData()),
             m_folder->path() + QLatin1Char('/'));
    QVERIFY(dialog.isVisible());
}

void Html5CopyCommandsTest::singleCancelLeavesNothing() {
    Fixture f;
    FrmVideoFilesSingle dialog(f.controller);
    dialog.show();
    const QString flash = freshClip(QStringLiteral("long.flv"), QStringLiteral("long.flv"));
    chooseFlash(f, dialog, flash);
    CancelAtFirstReport canceller(dialog);
    click(dialog, "cmdMakeMp4");

    QVERIFY2(canceller.pressedAt > 0, "the progress window never showed progress");
    QVERIFY2(canceller.pressedAt < 1000, "the copy was done before Cancel was pressed");
    QCOMPARE(QDir(m_folder->path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("long.flv")});
    QCOMPARE(text(dialog, "lblMp4VideoFileName"), QString());
    QVERIFY(f.controller.singleVideo().video().Mp4VideoFilePath.isEmpty());
    QVERIFY(f.dialogs.messages.isEmpty());
    // The command stays there for another try.
    QVERIFY(enabled(dialog, "cmdMakeMp4"));
}

void Html5CopyCommandsTest::singleExistingCopyIsAskedAbout_data() {
    QTest::addColumn<bool>("replace");
    QTest::newRow("replace") << true;
    QTest::newRow("use existing") << false;
}

void Html5CopyCommandsTest::singleExistingCopyIsAskedAbout() {
    QFETCH(bool, replace);
    Fixture f;
    FrmVideoFilesSingle dialog(f.controller);
    dialog.show();
    chooseFlash(f, dialog, freshClip(QStringLiteral("short.flv"), QStringLiteral("clip.flv")));
    const QString target = m_folder->filePath(QStringLiteral("clip.mp4"));
    {
        QFile existing(target);
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.write("made earlier");
    }
    f.dialogs.answers.enqueue(replace ? Dialogs::Answer::Yes : Dialogs::Answer::No);
    click(dialog, "cmdMakeMp4");

    QCOMPARE(f.dialogs.messages.size(), 1);
    QVERIFY(f.dialogs.messages[0].text.startsWith(target + QStringLiteral(" ALREADY EXISTS")));
    QCOMPARE(MediaTools::probe(target).videoCodec, replace ? QStringLiteral("h264") : QString());
    QFile kept(target);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll() == "made earlier", !replace);
    // Either way the copy is the one chosen.
    QCOMPARE(text(dialog, "lblMp4VideoFilePath"), target);
}

void Html5CopyCommandsTest::playlistEnabled_data() {
    QTest::addColumn<bool>("html5");
    QTest::addColumn<QStringList>("flash");
    QTest::addColumn<QStringList>("mp4");
    QTest::addColumn<bool>("expected");
    const QStringList twoFlv{"/v/a.flv", "/v/b.flv"};
    const QStringList twoMp4{"/m/a.mp4", "/m/b.mp4"};
    QTest::newRow("html5 off") << false << twoFlv << QStringList{} << false;
    QTest::newRow("empty playlist") << true << QStringList{} << QStringList{} << false;
    QTest::newRow("rows without mp4") << true << twoFlv << QStringList{} << true;
    QTest::newRow("every row has mp4") << true << twoFlv << twoMp4 << false;
    QTest::newRow("last row without mp4")
        << true << (twoFlv + QStringList{"/v/c.flv"}) << twoMp4 << true;
}

void Html5CopyCommandsTest::playlistEnabled() {
    QFETCH(bool, html5);
    QFETCH(QStringList, flash);
    QFETCH(QStringList, mp4);
    Fixture f(html5);
    FrmVideoFilesMulti dialog(f.controller);
    dialog.show();
    for (const auto& [files, button] :
         {std::pair{flash, "cmdFLVFiles"}, std::pair{mp4, "cmdMp4Files"}}) {
        if (files.isEmpty())
            continue;
        f.dialogs.openAnswers.enqueue(files);
        click(dialog, button);
    }
    QTEST(enabled(dialog, "cmdMakeCopies"), "expected");
}

void Html5CopyCommandsTest::playlistFillsRowsWithCopies() {
    Fixture f;
    FrmVideoFilesMulti dialog(f.controller);
    dialog.show();
    const QString first = freshClip(QStringLiteral("short.flv"), QStringLiteral("a.flv"));
    const QString second = m_folder->filePath(QStringLiteral("b.flv"));
    QVERIFY(QFile::copy(first, second));
    f.dialogs.openAnswers.enqueue(QStringList{first, second});
    click(dialog, "cmdFLVFiles");
    click(dialog, "cmdMakeCopies");

    QVERIFY2(f.dialogs.messages.isEmpty(), qPrintable(f.dialogs.texts().join(QLatin1Char('\n'))));
    const auto* grid = child<QTableWidget>(dialog, "flxPlayListDetails");
    const QStringList copies{QStringLiteral("a.mp4"), QStringLiteral("b.mp4")};
    for (int row = 0; row < copies.size(); ++row) {
        QCOMPARE(grid->item(row, PlaylistEditorModel::Mp4Column)->text(), copies[row]);
        QCOMPARE(MediaTools::probe(m_folder->filePath(copies[row])).videoCodec,
                 QStringLiteral("h264"));
    }
    QCOMPARE(text(dialog, "lblMp4VideoFilesPath"), m_folder->path() + QLatin1Char('/'));
    // Nothing is missing any more.
    QVERIFY(!enabled(dialog, "cmdMakeCopies"));
}

QTEST_MAIN(Html5CopyCommandsTest)
#include "tst_Html5CopyCommands.moc"
