#include <QtTest>

#include "ui/QtDialogs.h"

// The file choosers take the program's "desc|pattern" filters in Qt's own form.
class QtDialogsTest : public QObject {
    Q_OBJECT

  private slots:
    void qtFilter_data();
    void qtFilter();
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

QTEST_GUILESS_MAIN(QtDialogsTest)
#include "tst_QtDialogs.moc"
