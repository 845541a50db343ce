#include <QtTest>

#include "models/GridCursor.h"

// The cursor of the playlist grid on its own: where a cell given from outside the grid lands,
// and what sits on the cell it lands on. The keys are tested through the playlist editor.
class GridCursorTest : public QObject {
    Q_OBJECT

  private slots:
    void enterHoldsWithinGrid_data();
    void enterHoldsWithinGrid();
    void boxAsksForFocusOnceAndOnlyWhenShown();
};

namespace {

// As the playlist grid: three file columns, then the typed ones, the thumbnail last.
constexpr int kFirstTyped = 3;
constexpr int kChooser = 5;

}  // namespace

void GridCursorTest::enterHoldsWithinGrid_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("rowAfter");
    QTest::addColumn<int>("columnAfter");
    QTest::addColumn<bool>("box");
    QTest::addColumn<bool>("chooser");
    // Three data rows under the header row 0.
    QTest::newRow("file column") << 2 << 1 << 4 << 2 << 1 << false << false;
    QTest::newRow("typed column") << 2 << 3 << 4 << 2 << 3 << true << false;
    QTest::newRow("header row takes no box") << 0 << 3 << 4 << 0 << 3 << false << false;
    QTest::newRow("thumbnail column") << 1 << 5 << 6 << 1 << 5 << true << true;
    QTest::newRow("thumbnail header") << 0 << 5 << 6 << 0 << 5 << false << false;
    QTest::newRow("below the last row") << 9 << 4 << 5 << 3 << 4 << true << false;
    QTest::newRow("past the last column") << 1 << 7 << 4 << 1 << 3 << true << false;
    QTest::newRow("past a layout without thumbnails") << 1 << 5 << 5 << 1 << 4 << true << false;
    QTest::newRow("before the first cell") << -1 << -2 << 6 << 0 << 0 << false << false;
}

void GridCursorTest::enterHoldsWithinGrid() {
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(int, columns);
    QFETCH(int, rowAfter);
    QFETCH(int, columnAfter);
    QFETCH(bool, box);
    QFETCH(bool, chooser);
    GridCursor cursor(kFirstTyped, kChooser);
    cursor.enter(row, column, 3, columns);
    QCOMPARE(cursor.row(), rowAfter);
    QCOMPARE(cursor.column(), columnAfter);
    QCOMPARE(cursor.boxVisible(), box);
    QCOMPARE(cursor.chooserVisible(), chooser);
    // The thumbnail's box is locked even where it does not show, so it never takes typing.
    QCOMPARE(cursor.boxLocked(), columnAfter == kChooser);
}

void GridCursorTest::boxAsksForFocusOnceAndOnlyWhenShown() {
    GridCursor cursor(kFirstTyped, kChooser);
    cursor.enter(1, 0, 2, 4);
    cursor.wantBoxFocus();
    QVERIFY(!cursor.takeBoxFocus());

    cursor.enter(1, kFirstTyped, 2, 4);
    cursor.wantBoxFocus();
    QVERIFY(cursor.takeBoxFocus());
    QVERIFY(!cursor.takeBoxFocus());
}

QTEST_MAIN(GridCursorTest)
#include "tst_GridCursor.moc"
