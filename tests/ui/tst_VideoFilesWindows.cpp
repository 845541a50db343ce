#include <QtTest>
#include <QtWidgets>

#include "ProgramWindows.h"

// The controls both video-file windows have come from each window's own form, since each lays
// them out in its own place; they must read and behave alike in both.
class VideoFilesWindowsTest : public QObject {
    Q_OBJECT

  private slots:
    void commonControlsAlike_data();
    void commonControlsAlike();
};

void VideoFilesWindowsTest::commonControlsAlike_data() {
    QTest::addColumn<QString>("control");
    for (const char* name : {"chkHtml5", "cmdSave", "cmdCancel", "cmdHelp"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void VideoFilesWindowsTest::commonControlsAlike() {
    QFETCH(QString, control);
    ProgramWindows program;
    const std::unique_ptr<QWidget> single = program.make("frmVideoFilesSingle");
    const std::unique_ptr<QWidget> multi = program.make("frmVideoFilesMulti");
    single->show();
    multi->show();
    const auto* a = single->findChild<QAbstractButton*>(control);
    const auto* b = multi->findChild<QAbstractButton*>(control);
    QVERIFY(a != nullptr && b != nullptr);
    QCOMPARE(a->text(), b->text());
    QCOMPARE(a->toolTip(), b->toolTip());
    QCOMPARE(a->isEnabled(), b->isEnabled());
    QCOMPARE(a->focusPolicy(), b->focusPolicy());
    if (const auto* button = qobject_cast<const QPushButton*>(a))
        QCOMPARE(button->autoDefault(), qobject_cast<const QPushButton*>(b)->autoDefault());
}

QTEST_MAIN(VideoFilesWindowsTest)
#include "tst_VideoFilesWindows.moc"
