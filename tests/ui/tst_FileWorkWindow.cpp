#include <signal.h>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "FakeClockRandom.h"
#include "FakeDialogs.h"
#include "FakeViews.h"
#include "TestFiles.h"
#include "TestInstallation.h"
#include "WidgetLookup.h"
#include "app/MainController.h"
#include "generate/FileWorkRunner.h"
#include "platform/FileWorkPlan.h"
#include "platform/TextFile.h"
#include "ui/FrmCopyCode.h"
#include "ui/FrmFileWork.h"

namespace {

FileWorkStep step(FileWorkStep::Kind kind, const QString& name, const QString& from = {},
                  const QString& to = {}) {
    FileWorkStep s;
    s.kind = kind;
    s.name = name;
    s.source = from;
    s.target = to;
    s.bytes = QFileInfo(from).size();
    return s;
}

// The run's views with the real window in front of the file work, and a user who presses
// Cancel on the window when a report satisfies `cancelWhen`.
class WindowViews : public FakeViews {
  public:
    explicit WindowViews(FrmFileWork& window) : m_window(window) {}
    std::function<bool(int index, qint64 done, qint64 total)> cancelWhen;
    int reports = 0;

    void beginFileWork(const FileWorkPlan& plan) override { m_window.begin(plan); }
    bool fileWorkProgress(int index, qint64 done, qint64 total) override {
        ++reports;
        if (cancelWhen && cancelWhen(index, done, total))
            QTest::mouseClick(child<QPushButton>(m_window, "cmdCancel"), Qt::LeftButton);
        return m_window.progress(index, done, total);
    }
    bool runInjection(int index, const QString& commandLine) override {
        return m_window.runInjection(index, commandLine);
    }
    void endFileWork() override { m_window.hide(); }

  private:
    FrmFileWork& m_window;
};

// Command lines for the injector's place: `sh -c` scripts printing as the injector would.
QString script(const QString& text) {
    return QStringLiteral("sh -c \"") + text + u'"';
}

}  // namespace

class FileWorkWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void cancelInTheMiddleOfALargeCopy_data();
    void cancelInTheMiddleOfALargeCopy();
    void cancelEndsTheInjector();
    void injectorOutputStaysReadable();
    void injectionReportsMissingProgram();
    void codeWindowShowsTheInjectorOutput();
};

void FileWorkWindowTest::cancelInTheMiddleOfALargeCopy_data() {
    QTest::addColumn<bool>("olderCopy");
    QTest::newRow("first copy") << false;
    QTest::newRow("over an older copy") << true;
}

// A 256 MB video (sparse, so quickly made) copies in pieces of 8 MB; Cancel pressed at the third
// report stops the copy there: its partial file is gone, an older copy is as it was, the copy of
// the step before stays, and the window showed the step under way.
void FileWorkWindowTest::cancelInTheMiddleOfALargeCopy() {
    QFETCH(bool, olderCopy);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath("out"));
    TextFile::writeBytes(dir.filePath("small.js"), "script");
    QFile big(dir.filePath("big.flv"));
    QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(256ll << 20));
    big.close();
    if (olderCopy)
        TextFile::writeBytes(dir.filePath("out/big.flv"), "older");
    FileWorkPlan plan;
    plan.steps << step(FileWorkStep::Kind::Copy, "small.js", dir.filePath("small.js"),
                       dir.filePath("out/small.js"))
               << step(FileWorkStep::Kind::Copy, "big.flv", dir.filePath("big.flv"),
                       dir.filePath("out/big.flv"));
    FrmFileWork window;
    WindowViews views(window);
    QString shownFile, shownStep, shownHeading;
    int bar = -1;
    views.cancelWhen = [&](int index, qint64 done, qint64) {
        shownFile = child<QLabel>(window, "lblFile")->text();
        shownStep = child<QLabel>(window, "lblStep")->text();
        shownHeading = child<QLabel>(window, "lblMessage")->text();
        bar = child<QProgressBar>(window, "prgOverall")->value();
        return index == 1 && done == 16ll << 20;
    };

    QCOMPARE(FileWorkRunner::run(plan, views, [] {}), 1);

    QVERIFY(window.cancelled());
    QCOMPARE(shownFile, QStringLiteral("big.flv"));
    QCOMPARE(shownStep, QStringLiteral("Copying to the output folder (step 2 of 2)"));
    QCOMPARE(shownHeading, QStringLiteral("Output of the metadata injector"));  // not injecting
    QVERIFY2(bar > 0 && bar < 100, qPrintable(QString::number(bar)));           // 8 of 256 MB
    QVERIFY(!child<QPushButton>(window, "cmdCancel")->isEnabled());
    QCOMPARE(QDir(dir.filePath("out")).entryList(QDir::Files | QDir::Hidden),
             olderCopy ? QStringList({"big.flv", "small.js"}) : QStringList{"small.js"});
    if (olderCopy)
        QCOMPARE(TestFiles::readFile(dir.filePath("out/big.flv")), QByteArray("older"));
    QCOMPARE(TestFiles::readFile(dir.filePath("out/small.js")), QByteArray("script"));
    QCOMPARE(QFileInfo(dir.filePath("big.flv")).size(), 256ll << 20);
}

// The injector is asked to end when Cancel is pressed while it works, and the work stops there.
void FileWorkWindowTest::cancelEndsTheInjector() {
    QTemporaryDir dir;
    FileWorkPlan plan;
    plan.steps << step(FileWorkStep::Kind::Inject, "clip.flv");
    FrmFileWork window;
    window.begin(plan);
    const QString pidFile = dir.filePath("pid");
    // Cancel once the program has said it started.
    auto* log = child<QPlainTextEdit>(window, "txtDOS");
    connect(log, &QPlainTextEdit::textChanged, this, [&] {
        if (log->toPlainText().contains("working"))
            QTest::mouseClick(child<QPushButton>(window, "cmdCancel"), Qt::LeftButton);
    });
    const bool goOn =
        window.runInjection(0, script("echo $$ > '" + pidFile + "'; echo working; exec sleep 60"));
    QVERIFY(!goOn);
    const pid_t pid = TestFiles::readFile(pidFile).trimmed().toInt();
    QVERIFY(pid > 0);
    QCOMPARE(::kill(pid, 0), -1);  // ended and reaped
    QCOMPARE(log->toPlainText(), QStringLiteral("working\n"));
}

// What the injector prints shows while it runs and is still there after it has finished: the
// window kept it, and the run hands it on to the code window.
void FileWorkWindowTest::injectorOutputStaysReadable() {
    FakeDialogs dialogs;
    FrmFileWork window(nullptr, &dialogs);
    QCOMPARE(window.objectName(), QStringLiteral("frmFileWork"));
    FileWorkPlan plan;
    plan.steps << step(FileWorkStep::Kind::Inject, "a.flv")
               << step(FileWorkStep::Kind::Inject, "b.flv");
    window.begin(plan);
    auto* log = child<QPlainTextEdit>(window, "txtDOS");
    QCOMPARE(log->font().family(), QStringLiteral("Courier New"));
    QCOMPARE(child<QLabel>(window, "lblMessage")->text(),
             QStringLiteral("Please wait, injecting metadata"));
    QStringList seen;
    bool shownWhileRunning = false;
    connect(log, &QPlainTextEdit::textChanged, this, [&] {
        seen.append(log->toPlainText());
        shownWhileRunning = shownWhileRunning || window.isVisible();
    });
    // The "é" of a file name arrives in two pieces.
    QVERIFY(window.runInjection(
        0, script("printf 'one\\r\\n'; printf 'two\\r\\n' >&2; printf 'caf\\303'; sleep 0.1; "
                  "printf '\\251\\r\\n'")));
    QVERIFY(window.runInjection(1, script("printf 'second video\\r\\n'")));
    QVERIFY2(seen.contains(QString::fromUtf8("one\ntwo\ncafé\n")), qPrintable(seen.join(" | ")));
    QVERIFY(shownWhileRunning);
    const QString all = QString::fromUtf8("one\ntwo\ncafé\nsecond video\n");
    QCOMPARE(log->toPlainText(), all);
    QCOMPARE(window.injectorOutput(), all);
    QCOMPARE(dialogs.messages.size(), 0);
    QCOMPARE(child<QTimer>(window, "Timer1")->interval(), 200);
}

void FileWorkWindowTest::injectionReportsMissingProgram() {
    FakeDialogs dialogs;
    FrmFileWork window(nullptr, &dialogs);
    FileWorkPlan plan;
    plan.steps << step(FileWorkStep::Kind::Inject, "clip.flv");
    window.begin(plan);
    QVERIFY(window.runInjection(
        0, QStringLiteral("\"/no/such/folder/flvmdi\" /k /l \"/out/clip.flv\"")));
    QCOMPARE(dialogs.texts(), QStringList{"ERROR# 53 FILE NOT FOUND. PLEASE CONTACT SUPPORT.\n"
                                          "Running /no/such/folder/flvmdi"});
}

void FileWorkWindowTest::codeWindowShowsTheInjectorOutput() {
    TestInstallation install;
    FakeDialogs dialogs;
    FakeViews views;
    FakeClock clock;
    FakeRandom random;
    MainController controller(install.paths(), dialogs, views, clock, random);
    FrmCopyCode code(controller);
    auto* details = child<QPushButton>(code, "cmdDetails");
    QCOMPARE(details->text(), QStringLiteral("&Details"));
    QVERIFY(!details->isEnabled());
    code.setInjectorOutput(QStringLiteral("flvmdi: clip.flv: metadata injected\n"));
    QVERIFY(details->isEnabled());
    QString shown;
    QTimer::singleShot(0, this, [&] {
        QWidget* open = QApplication::activeModalWidget();
        QVERIFY(open != nullptr && open->objectName() == QStringLiteral("frmInjectorOutput"));
        shown = child<QPlainTextEdit>(*open, "txtDOS")->toPlainText();
        QTest::mouseClick(child<QPushButton>(*open, "cmdClose"), Qt::LeftButton);
    });
    code.show();
    QTest::mouseClick(details, Qt::LeftButton);
    QCOMPARE(shown, QStringLiteral("flvmdi: clip.flv: metadata injected\n"));
}

QTEST_MAIN(FileWorkWindowTest)
#include "tst_FileWorkWindow.moc"
