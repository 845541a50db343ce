#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QtTest>

#include "FakeClockRandom.h"
#include "FakeDialogs.h"
#include "FakeViews.h"
#include "TestInstallation.h"
#include "app/MainController.h"
#include "media/PlaylistEditor.h"
#include "ui/FrmVideoFilesMulti.h"

// The playlist window's wiring: the grid mirrors the editor, the edit box writes through and
// follows the keys, the right button opens the row menu only where the editor offers one. The
// editing rules themselves are tested in the core.
class PlaylistWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void typingInTitleCellWritesThrough();
    void thumbnailCellTakesNoTyping();
    void editBoxKeys_data();
    void editBoxKeys();
    void rightClick_data();
    void rightClick();
    void saveHidesWhenCompleteAndMarkerFollows();
    void positionLocksLayoutChoice();
};

namespace {

struct Fixture {
    TestInstallation install;
    FakeDialogs dialogs;
    FakeViews views;
    FakeClock clock;
    FakeRandom random;
    MainController controller{install.appFolder(), dialogs, views, clock, random};
    PlaylistEditor& editor = controller.playlistEditor();

    Fixture() { controller.loadInstallation(); }

    // Three videos, as "Locate FLV/Mp4 Files" brings them in.
    void addThreeVideos() {
        dialogs.openAnswers.enqueue(QStringList{"/v/a.flv", "/v/b.flv", "/v/c.flv"});
        editor.addFlashFiles();
    }
};

template <typename T>
T* child(const QWidget& window, const char* name) {
    T* found = window.findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr)
        qFatal("no control %s in %s", name, qPrintable(window.objectName()));
    return found;
}

QTableWidget* grid(const QWidget& window) {
    return child<QTableWidget>(window, "flxPlayListDetails");
}

QLineEdit* editBox(const QWidget& window) {
    return child<QLineEdit>(window, "txtEditGrid");
}

// Row and column as the editor counts them: data rows from 1.
void clickCell(const QWidget& window, int row, int column, Qt::MouseButton button) {
    QTableWidget* g = grid(window);
    const QRect cell = g->visualItemRect(g->item(row - 1, column));
    QTest::mouseClick(g->viewport(), button, {}, cell.center());
}

// Clicks the option's round mark, which is always within its hit area.
void choose(const QWidget& window, const char* option) {
    auto* o = child<QRadioButton>(window, option);
    QTest::mouseClick(o, Qt::LeftButton, {}, QPoint(6, o->height() / 2));
}

}  // namespace

void PlaylistWindowTest::typingInTitleCellWritesThrough() {
    Fixture f;
    f.addThreeVideos();
    FrmVideoFilesMulti dialog(f.controller);
    QCOMPARE(dialog.objectName(), QStringLiteral("frmVideoFilesMulti"));
    dialog.show();
    QCOMPARE(grid(dialog)->item(1, 0)->text(), QStringLiteral("b.flv"));

    clickCell(dialog, 2, PlaylistEditor::TitleColumn, Qt::LeftButton);
    QLineEdit* box = editBox(dialog);
    QVERIFY(box->isVisible());
    QCOMPARE(box->geometry(), grid(dialog)->visualItemRect(grid(dialog)->item(1, 3)));
    QCOMPARE(dialog.focusWidget(), box);
    QTest::keyClicks(box, QStringLiteral("Intro"));
    QCOMPARE(f.editor.playlist().rows[1].Title, QStringLiteral("Intro"));
    QCOMPARE(grid(dialog)->item(1, 3)->text(), QStringLiteral("Intro"));
    // The playlist file separates its fields with "|": it never reaches a cell, nor the box.
    QTest::keyClicks(box, QStringLiteral("|x"));
    QCOMPARE(f.editor.playlist().rows[1].Title, QStringLiteral("Introx"));
    QCOMPARE(box->text(), QStringLiteral("Introx"));
    QCOMPARE(grid(dialog)->item(1, 3)->text(), QStringLiteral("Introx"));
    QTest::keyClick(box, Qt::Key_Backspace);
    QCOMPARE(f.editor.playlist().rows[1].Title, QStringLiteral("Intro"));

    clickCell(dialog, 1, PlaylistEditor::FlashColumn, Qt::LeftButton);
    QVERIFY(!box->isVisible());
    QCOMPARE(f.editor.playlist().rows[0].FlashFile, QStringLiteral("a.flv"));
}

void PlaylistWindowTest::thumbnailCellTakesNoTyping() {
    Fixture f;
    f.addThreeVideos();
    FrmVideoFilesMulti dialog(f.controller);
    dialog.show();
    choose(dialog, "opt3");
    QCOMPARE(grid(dialog)->columnCount(), 6);

    clickCell(dialog, 1, PlaylistEditor::ThumbColumn, Qt::LeftButton);
    auto* thumb = child<QPushButton>(dialog, "cmdGetThumbImage");
    QVERIFY(thumb->isVisible());
    QVERIFY(editBox(dialog)->isReadOnly());
    QTest::keyClicks(editBox(dialog), QStringLiteral("typed"));
    QCOMPARE(f.editor.playlist().rows[0].Thumbnail, QString());

    f.dialogs.openAnswers.enqueue(QStringList{"/pics/one.jpg"});
    QTest::mouseClick(thumb, Qt::LeftButton);
    QCOMPARE(grid(dialog)->item(0, 5)->text(), QStringLiteral("one.jpg"));
    QCOMPARE(editBox(dialog)->text(), QStringLiteral("one.jpg"));
    QCOMPARE(child<QLabel>(dialog, "lblThumbImagesPath")->text(), QStringLiteral("/pics/"));

    // A description cell is typed into normally, and the button leaves.
    clickCell(dialog, 1, PlaylistEditor::DescColumn, Qt::LeftButton);
    QVERIFY(!thumb->isVisible());
    QVERIFY(!editBox(dialog)->isReadOnly());
}

void PlaylistWindowTest::editBoxKeys_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("toRow");
    QTest::addColumn<int>("toColumn");
    QTest::addColumn<bool>("boxHasFocus");
    // Layout title + description: columns 0 to 4, rows 1 to 3.
    QTest::newRow("Enter moves right") << 1 << 3 << int(Qt::Key_Return) << 1 << 4 << true;
    QTest::newRow("Enter in last column") << 1 << 4 << int(Qt::Key_Return) << 1 << 4 << true;
    QTest::newRow("Down") << 1 << 3 << int(Qt::Key_Down) << 2 << 3 << true;
    QTest::newRow("Down on last row") << 3 << 3 << int(Qt::Key_Down) << 3 << 3 << false;
    QTest::newRow("Up") << 3 << 4 << int(Qt::Key_Up) << 2 << 4 << true;
    QTest::newRow("Up on row 1") << 1 << 3 << int(Qt::Key_Up) << 1 << 3 << false;
    QTest::newRow("Left onto a file column") << 2 << 3 << int(Qt::Key_Left) << 2 << 2 << false;
    QTest::newRow("Right") << 2 << 3 << int(Qt::Key_Right) << 2 << 4 << true;
    QTest::newRow("Right in last column") << 2 << 4 << int(Qt::Key_Right) << 2 << 4 << false;
}

void PlaylistWindowTest::editBoxKeys() {
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(int, key);
    QFETCH(int, toRow);
    QFETCH(int, toColumn);
    QFETCH(bool, boxHasFocus);
    Fixture f;
    f.addThreeVideos();
    f.editor.selectLayout(PlaylistLayout::TitleDesc);
    for (int r = 1; r <= 3; ++r) {
        f.editor.setCellText(r, PlaylistEditor::TitleColumn, QStringLiteral("Title %1").arg(r));
        f.editor.setCellText(r, PlaylistEditor::DescColumn, QStringLiteral("Desc %1").arg(r));
    }
    FrmVideoFilesMulti dialog(f.controller);
    dialog.show();
    clickCell(dialog, row, column, Qt::LeftButton);

    QTest::keyClick(editBox(dialog), Qt::Key(key));
    QCOMPARE(f.editor.currentRow(), toRow);
    QCOMPARE(f.editor.currentColumn(), toColumn);
    QCOMPARE(grid(dialog)->currentRow(), toRow - 1);
    QCOMPARE(grid(dialog)->currentColumn(), toColumn);
    QCOMPARE(dialog.focusWidget() == editBox(dialog), boxHasFocus);
    QCOMPARE(dialog.focusWidget() == grid(dialog), !boxHasFocus);
    const bool editable = toColumn >= PlaylistEditor::TitleColumn;
    QCOMPARE(editBox(dialog)->isVisible(), editable);
    if (editable) {
        // The box moved with the cell and shows that cell's own text.
        QCOMPARE(editBox(dialog)->text(), f.editor.cellText(toRow, toColumn));
        QCOMPARE(editBox(dialog)->geometry(),
                 grid(dialog)->visualItemRect(grid(dialog)->item(toRow - 1, toColumn)));
    }
}

void PlaylistWindowTest::rightClick_data() {
    QTest::addColumn<bool>("withVideos");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("menu");
    QTest::newRow("empty Flash cell") << false << 1 << int(PlaylistEditor::FlashColumn) << false;
    QTest::newRow("title column") << true << 2 << int(PlaylistEditor::TitleColumn) << false;
    QTest::newRow("Mp4 column of row 2") << true << 2 << int(PlaylistEditor::Mp4Column) << true;
}

void PlaylistWindowTest::rightClick() {
    QFETCH(bool, withVideos);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(bool, menu);
    Fixture f;
    if (withVideos)
        f.addThreeVideos();
    FrmVideoFilesMulti dialog(f.controller);
    dialog.show();
    clickCell(dialog, row, column, Qt::RightButton);

    auto* popup = child<QMenu>(dialog, "mnuMenuVideo");
    QCOMPARE(popup->isVisible(), menu);
    if (!menu)
        return;
    QCOMPARE(f.editor.currentRow(), row);
    QCOMPARE(child<QAction>(dialog, "mnuMoveUpVideo")->text(), QStringLiteral("Move \"b.flv\" up"));
    QCOMPARE(child<QAction>(dialog, "mnuMoveDownVideo")->text(),
             QStringLiteral("Move \"b.flv\" down"));
    QCOMPARE(child<QAction>(dialog, "mnuRemoveVideo")->text(), QStringLiteral("Remove \"b.flv\""));
    child<QAction>(dialog, "mnuMoveUpVideo")->trigger();
    popup->hide();
    QCOMPARE(grid(dialog)->item(0, 0)->text(), QStringLiteral("b.flv"));
    QCOMPARE(grid(dialog)->item(1, 0)->text(), QStringLiteral("a.flv"));
}

void PlaylistWindowTest::saveHidesWhenCompleteAndMarkerFollows() {
    Fixture f;
    f.addThreeVideos();
    FrmVideoFilesMulti dialog(f.controller);
    dialog.show();
    QVERIFY(f.controller.videoFilesStatusVisible());

    QTest::mouseClick(child<QPushButton>(dialog, "cmdSave"), Qt::LeftButton);
    QCOMPARE(f.dialogs.texts(), QStringList{"TITLE MISSING FOR a.flv"});
    QVERIFY(dialog.isVisible());
    // The box waits on the title that is missing.
    QLineEdit* box = editBox(dialog);
    QVERIFY(box->isVisible());
    QCOMPARE(box->geometry(), grid(dialog)->visualItemRect(grid(dialog)->item(0, 3)));

    for (const char* title : {"One", "Two", "Three"}) {
        QTest::keyClicks(box, QString::fromLatin1(title));
        QTest::keyClick(box, Qt::Key_Down);
    }
    QTest::mouseClick(child<QPushButton>(dialog, "cmdSave"), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!f.controller.videoFilesStatusVisible());
    QCOMPARE(f.editor.playlist().rows[2].Title, QStringLiteral("Three"));

    // Shown again, cleared and cancelled: the playlist is incomplete, and the marker says so.
    dialog.show();
    QTest::mouseClick(child<QPushButton>(dialog, "cmdClearPlaylist"), Qt::LeftButton);
    QCOMPARE(grid(dialog)->rowCount(), 1);
    QTest::mouseClick(child<QPushButton>(dialog, "cmdCancel"), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QVERIFY(f.controller.videoFilesStatusVisible());
}

void PlaylistWindowTest::positionLocksLayoutChoice() {
    Fixture f;
    FrmVideoFilesMulti dialog(f.controller);
    dialog.show();
    choose(dialog, "opt2");
    QCOMPARE(grid(dialog)->horizontalHeaderItem(4)->text(), QStringLiteral("Video Description"));
    choose(dialog, "optPLInvisible");
    QCOMPARE(f.editor.playlist().position, PlaylistPosition::Invisible);
    for (const char* name : {"opt1", "opt2", "opt3"})
        QVERIFY(!child<QRadioButton>(dialog, name)->isEnabled());
    choose(dialog, "optPLBottom");
    QVERIFY(child<QRadioButton>(dialog, "opt2")->isChecked());
    QVERIFY(child<QRadioButton>(dialog, "opt1")->isEnabled());
    QCOMPARE(grid(dialog)->columnCount(), 5);
}

QTEST_MAIN(PlaylistWindowTest)
#include "tst_PlaylistWindow.moc"
