#include <QClipboard>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QTextLayout>
#include <QtTest>

#include "ui/QtDialogs.h"

// The file choosers take the program's "desc|pattern" filters in Qt's own form; message boxes
// show long paths whole.
class QtDialogsTest : public QObject {
    Q_OBJECT

  private slots:
    void qtFilter_data();
    void qtFilter();
    void shownText_data();
    void shownText();
    void longPathShowsWhole_data();
    void longPathShowsWhole();
};

void QtDialogsTest::qtFilter_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("expected");
    QTest::newRow("bare description") << "Vidlark Profile File|*.epe"
                                      << "Vidlark Profile File (*.epe)";
    QTest::newRow("pattern already named") << "FLV (*.flv)|*.flv"
                                           << "FLV (*.flv)";
    QTest::newRow("pattern named without a blank")
        << "H.264 Mp4(*.mp4)|*.mp4|H.264 M4V (*.m4v)|*.m4v"
        << "H.264 Mp4(*.mp4);;H.264 M4V (*.m4v)";
    QTest::newRow("trailing bar") << "JPEG files (*.jpg)|*.jpg|"
                                  << "JPEG files (*.jpg)";
    QTest::newRow("several patterns, several entries")
        << "Mp4 Video|*.mp4;*.f4v;*.m4v|All files|*.*"
        << "Mp4 Video (*.mp4 *.f4v *.m4v);;All files (*.*)";
    QTest::newRow("empty") << ""
                           << "";
}

void QtDialogsTest::qtFilter() {
    QFETCH(QString, filter);
    QFETCH(QString, expected);
    QCOMPARE(QtDialogs::qtFilter(filter), expected);
}

namespace {

const QChar kBreak(0x200B);

QString longPath(int length) {
    QString path = QStringLiteral("/home/ann/");
    for (int folder = 0; path.size() < length - 60; ++folder)
        path += QStringLiteral("Projects %1/").arg(folder);
    while (path.size() < length - 4)
        path += u'v';
    return path + QStringLiteral(".flv");
}

}  // namespace

void QtDialogsTest::shownText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");  // "|" marks a zero-width break
    QTest::newRow("no path") << "DATA SAVED."
                             << "DATA SAVED.";
    QTest::newRow("a path") << "Writing /home/ann/out/clip.flv"
                            << "Writing /|home/|ann/|out/|clip.flv";
    QTest::newRow("a Windows path") << "C:\\Videos\\a.flv"
                                    << "C:\\|Videos\\|a.flv";
    QString run(100, u'a');
    QTest::newRow("a long name without a blank")
        << "/" + run << "/|" + run.left(40) + "|" + run.mid(40, 40) + "|" + run.mid(80);
    QTest::newRow("blanks start a new run") << QString(39, u'a') + " " + QString(39, u'b')
                                            << QString(39, u'a') + " " + QString(39, u'b');
    // A letter beyond the basic plane is two UTF-16 units: never broken between them.
    const QString clapper = QString::fromUtf8("\xF0\x9F\x8E\xAC");
    QTest::newRow("a letter of two units at the break")
        << QString(39, u'a') + clapper + "b" << QString(39, u'a') + clapper + "|b";
}

void QtDialogsTest::shownText() {
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QCOMPARE(QtDialogs::shownText(text), shown.replace(u'|', kBreak));
}

void QtDialogsTest::longPathShowsWhole_data() {
    QTest::addColumn<QString>("path");
    QTest::newRow("300 characters in folders") << longPath(300);
    QTest::newRow("a 255-character name") << "/home/ann/out/" + QString(251, u'n') + ".flv";
}

// A long path in a message box wraps and shows every character inside a box that fits a
// 1280 x 720 screen. The box is drawn to messagebox-<row>.png in the working folder for a look.
void QtDialogsTest::longPathShowsWhole() {
    QFETCH(QString, path);
    const QString message = "ERROR# 61 DISK FULL. PLEASE CONTACT SUPPORT.\nWriting " + path;
    const std::unique_ptr<QMessageBox> box = QtDialogs::messageBox(
        message, Dialogs::Icon::Critical, Dialogs::Buttons::Ok, QStringLiteral("Vidlark"), nullptr);
    box->show();
    QVERIFY(QTest::qWaitForWindowExposed(box.get()));
    QVERIFY2(box->width() <= 1280 - 16 && box->height() <= 720 - 40,
             qPrintable(QStringLiteral("%1 x %2").arg(box->width()).arg(box->height())));
    const auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    QVERIFY(label);
    QVERIFY(label->geometry().right() <= box->width());
    // Laid out as the label lays it out, at its width: every line within it, all lines shown.
    QTextLayout layout(label->text(), label->font());
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    qreal height = 0;
    int lastShown = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(label->contentsRect().width());
        QVERIFY2(line.naturalTextWidth() <= label->contentsRect().width() + 1,
                 qPrintable(
                     QStringLiteral("the line from %1 runs past the edge").arg(line.textStart())));
        height += line.height();
        lastShown = line.textStart() + line.textLength();
    }
    layout.endLayout();
    QCOMPARE(lastShown, label->text().size());
    QVERIFY2(
        height <= label->contentsRect().height() + 1,
        qPrintable(QStringLiteral("%1 of %2").arg(height).arg(label->contentsRect().height())));
    QCOMPARE(QString(label->text()).remove(kBreak), message);
    // Ctrl+C copies the text as it was given, without the places where the box may break it.
    QGuiApplication::clipboard()->clear();
    QTest::keySequence(box.get(), QKeySequence::Copy);
    const QString copied = QGuiApplication::clipboard()->text();
    QVERIFY2(copied.contains(message) && !copied.contains(kBreak), qPrintable(copied));
    box->grab().save(QStringLiteral("messagebox-%1.png")
                         .arg(QString::fromLatin1(QTest::currentDataTag()).replace(u' ', u'-')));
}

QTEST_MAIN(QtDialogsTest)
#include "tst_QtDialogs.moc"
