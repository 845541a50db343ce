#include <QDir>
#include <QFile>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "FakeClockRandom.h"
#include "FakeDialogs.h"
#include "TestInstallation.h"
#include "app/MainController.h"
#include "models/SingleVideoDialogModel.h"
#include "ui/FrmMain.h"
#include "ui/QtViews.h"

// A run driven from the main window with the desktop program's own views: the file-work window
// they open is the one the user can stop.
class RunWindowsTest : public QObject {
    Q_OBJECT

  private slots:
    void cancelFromTheFileWorkWindow();
};

namespace {

constexpr qint64 kVideoBytes = 256ll << 20;

// What the user did and saw while the run was under way; the code window is closed if it
// comes, so a run that did not stop cannot hang the test.
struct User {
    bool cancelled = false;
    bool sawCodeWindow = false;

    void look() {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (!window->isVisible())
                continue;
            if (window->objectName() == QLatin1String("frmCopyCode")) {
                sawCodeWindow = true;
                window->close();
            }
            auto* bar = window->findChild<QProgressBar*>(QStringLiteral("prgOverall"));
            if (!cancelled && window->objectName() == QLatin1String("frmFileWork") && bar &&
                bar->value() > 0) {
                cancelled = true;
                QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("cmdCancel")),
                                  Qt::LeftButton);
            }
        }
    }
};

}  // namespace

// A 256 MB video (sparse, so quickly made): Cancel pressed in the window once the bar has moved
// ends the run there, with no copy of the video under its name or beside it, the video as it was,
// the message that says so, and no code window.
void RunWindowsTest::cancelFromTheFileWorkWindow() {
    TestInstallation install;
    install.useBuiltSupportFiles();
    const QString video = install.path("big.flv");
    QFile file(video);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(kVideoBytes));
    file.close();
    FakeDialogs dialogs;
    QtViews views;
    FakeClock clock;
    FakeRandom random;
    MainController controller(install.paths(), dialogs, views, clock, random);
    QVERIFY(controller.loadInstallation());
    FrmMain frmMain(controller);
    views.attach(controller, frmMain);
    frmMain.show();
    controller.window().change(&ProjectSettings::ServerPath, "http://example.com/site");
    controller.window().change(&ProjectSettings::OutDir, install.outputFolder());
    dialogs.openAnswers.enqueue(QStringList{video});
    controller.singleVideo().show();
    controller.singleVideo().chooseFlashFile();
    controller.singleVideo().save();

    User user;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&user] { user.look(); });
    watch.start(5);
    QCOMPARE(controller.generate(), MainController::GenerateOutcome::Cancelled);

    QVERIFY(user.cancelled);
    QVERIFY(!user.sawCodeWindow);
    const QStringList left = QDir(install.outputFolder())
                                 .entryList(QDir::Files | QDir::Hidden, QDir::Name)
                                 .filter(QStringLiteral("big"));
    QCOMPARE(left, QStringList{});
    QCOMPARE(QFileInfo(video).size(), kVideoBytes);
    QVERIFY(!dialogs.texts().isEmpty());
    QVERIFY2(dialogs.texts().constLast().startsWith(QStringLiteral("GENERATION CANCELLED")),
             qPrintable(dialogs.texts().join('\n')));
}

QTEST_MAIN(RunWindowsTest)
#include "tst_RunWindows.moc"
