#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "FakeClockRandom.h"
#include "FakeDialogs.h"
#include "FakeProgram.h"
#include "FakeViews.h"
#include "TestInstallation.h"
#include "WidgetLookup.h"
#include "app/MainController.h"
#include "models/PlaylistEditorModel.h"
#include "platform/TextFile.h"
#include "ui/FrmMain.h"
#include "ui/FrmVideoFilesMulti.h"
#include "ui/QtDialogs.h"
#include "ui/QtViews.h"

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
    void rightClickOpensNoEditor_data();
    void rightClickOpensNoEditor();
    void rowMenuShowsAmpersandOfFileName();
    void escapeEndsTheCellEditOnly_data();
    void escapeEndsTheCellEditOnly();
    void clearAsksFirst_data();
    void clearAsksFirst();
    void captionLanguagesAndLabels_data();
    void captionLanguagesAndLabels();
    void saveHidesWhenCompleteAndMarkerFollows();
    void positionLocksLayoutChoice();
    void partlyVisibleCellTakesTyping_data();
    void partlyVisibleCellTakesTyping();
    void cellMessageLeavesFocusInEditBox_data();
    void cellMessageLeavesFocusInEditBox();
    void defaultSizeShowsEveryColumn();
};

namespace {

struct Fixture : FakeProgram {
    PlaylistEditorModel& editor = controller.playlistEditor();

    // Three videos, as "Locate FLV/Mp4 Files" brings them in.
    void addThreeVideos() {
        dialogs.openAnswers.enqueue(QStringList{"/v/a.flv", "/v/b.flv", "/v/c.flv"});
        editor.addFlashFiles();
    }
};

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

    clickCell(dialog, 2, PlaylistEditorModel::TitleColumn, Qt::LeftButton);
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

    clickCell(dialog, 1, PlaylistEditorModel::FlashColumn, Qt::LeftButton);
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

    clickCell(dialog, 1, PlaylistEditorModel::ThumbColumn, Qt::LeftButton);
    auto* thumb = child<QPushButton>(dialog, "cmdGetThumbImage");
    QVERIFY(thumb->isVisible());
    QVERIFY(editBox(dialog)->isReadOnly());
    QCOMPARE(editBox(dialog)->cursor().shape(), Qt::ArrowCursor);
    QTest::keyClicks(editBox(dialog), QStringLiteral("typed"));
    QCOMPARE(f.editor.playlist().rows[0].Thumbnail, QString());

    f.dialogs.openAnswers.enqueue(QStringList{"/pics/one.jpg"});
    QTest::mouseClick(thumb, Qt::LeftButton);
    QCOMPARE(grid(dialog)->item(0, 5)->text(), QStringLiteral("one.jpg"));
    QCOMPARE(editBox(dialog)->text(), QStringLiteral("one.jpg"));
    QCOMPARE(child<QLabel>(dialog, "lblThumbImagesPath")->text(), QStringLiteral("/pics/"));

    // A description cell is typed into normally, and the button leaves.
    clickCell(dialog, 1, PlaylistEditorModel::DescColumn, Qt::LeftButton);
    QVERIFY(!thumb->isVisible());
    QVERIFY(!editBox(dialog)->isReadOnly());
    QCOMPARE(editBox(dialog)->cursor().shape(), Qt::IBeamCursor);
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
        f.editor.setCellText(r, PlaylistEditorModel::TitleColumn,
                             QStringLiteral("Title %1").arg(r));
        f.editor.setCellText(r, PlaylistEditorModel::DescColumn, QStringLiteral("Desc %1").arg(r));
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
    const bool editable = toColumn >= PlaylistEditorModel::TitleColumn;
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
    QTest::newRow("empty Flash cell")
        << false << 1 << int(PlaylistEditorModel::FlashColumn) << false;
    QTest::newRow("title column") << true << 2 << int(PlaylistEditorModel::TitleColumn) << false;
    QTest::newRow("Mp4 column of row 2")
        << true << 2 << int(PlaylistEditorModel::Mp4Column) << true;
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
    QCOMPARE(child<QAction>(dialog, "mnuMoveUpVideo")->text(),
             QStringLiteral("Move \"b.flv\" &up"));
    QCOMPARE(child<QAction>(dialog, "mnuMoveDownVideo")->text(),
             QStringLiteral("Move \"b.flv\" &down"));
    QCOMPARE(child<QAction>(dialog, "mnuRemoveVideo")->text(), QStringLiteral("&Remove \"b.flv\""));
    child<QAction>(dialog, "mnuMoveUpVideo")->trigger();
    popup->hide();
    QCOMPARE(grid(dialog)->item(0, 0)->text(), QStringLiteral("b.flv"));
    QCOMPARE(grid(dialog)->item(1, 0)->text(), QStringLiteral("a.flv"));
}

void PlaylistWindowTest::rightClickOpensNoEditor_data() {
    QTest::addColumn<int>("from");  // the cell being edited in row 1
    QTest::addColumn<int>("column");
    using E = PlaylistEditorModel;
    QTest::newRow("title, then a Flash file") << int(E::TitleColumn) << int(E::FlashColumn);
    QTest::newRow("description, then an Mp4 file") << int(E::DescColumn) << int(E::Mp4Column);
    QTest::newRow("thumbnail, then a WebM file") << int(E::ThumbColumn) << int(E::WebmColumn);
}

// The right button opens the row menu on the row it was pressed on and opens no edit box or
// thumbnail button there, whichever column was being edited before.
void PlaylistWindowTest::rightClickOpensNoEditor() {
    QFETCH(int, from);
    QFETCH(int, column);
    Fixture f;
    f.addThreeVideos();
    f.editor.selectLayout(PlaylistLayout::TitleDescThumb);
    FrmVideoFilesMulti dialog(f.controller);
    dialog.show();
    clickCell(dialog, 1, from, Qt::LeftButton);
    QVERIFY(editBox(dialog)->isVisible());

    clickCell(dialog, 2, column, Qt::RightButton);

    auto* popup = child<QMenu>(dialog, "mnuMenuVideo");
    QVERIFY(popup->isVisible());
    popup->hide();
    QVERIFY(!editBox(dialog)->isVisible());
    QVERIFY(!child<QPushButton>(dialog, "cmdGetThumbImage")->isVisible());
    QCOMPARE(grid(dialog)->currentRow(), 1);
    QCOMPARE(grid(dialog)->currentColumn(), column);
    QVERIFY(QApplication::focusWidget() != editBox(dialog));
}

// A file name's "&" is a character of the name, not the mark of an access key: each entry's key
// is a letter of its own words.
void PlaylistWindowTest::rowMenuShowsAmpersandOfFileName() {
    Fixture f;
    f.dialogs.openAnswers.enqueue(QStringList{"/v/Tom & Jerry.flv", "/v/b.flv"});
    f.editor.addFlashFiles();
    FrmVideoFilesMulti dialog(f.controller);
    dialog.show();
    clickCell(dialog, 1, PlaylistEditorModel::FlashColumn, Qt::RightButton);
    QVERIFY(child<QMenu>(dialog, "mnuMenuVideo")->isVisible());

    const QString name = QStringLiteral("\"Tom & Jerry.flv\"");
    const std::tuple<const char*, QString, Qt::Key> entries[] = {
        {"mnuMoveUpVideo", "Move " + name + " &up", Qt::Key_U},
        {"mnuMoveDownVideo", "Move " + name + " &down", Qt::Key_D},
        {"mnuRemoveVideo", "&Remove " + name, Qt::Key_R},
        {"mnuAddCaptions", "&Add captions to " + name + "...", Qt::Key_A},
    };
    for (const auto& [action, shown, key] : entries) {
        const QString text = child<QAction>(dialog, action)->text();
        QCOMPARE(QKeySequence::mnemonic(text), QKeySequence(Qt::ALT | key));
        QCOMPARE(QString(text).replace(QStringLiteral("&&"), QStringLiteral("&")), shown);
    }
}

void PlaylistWindowTest::escapeEndsTheCellEditOnly_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");
    QTest::newRow("title") << int(PlaylistEditorModel::TitleColumn) << "Typed";
    QTest::newRow("title emptied") << int(PlaylistEditorModel::TitleColumn) << "";
    QTest::newRow("description") << int(PlaylistEditorModel::DescColumn) << "More";
    QTest::newRow("thumbnail") << int(PlaylistEditorModel::ThumbColumn) << "";
}

// Escape in the edit box gives the cell back its text and ends the edit; the editor stays open
// with the same cell current, and the cell takes typing again once entered.
void PlaylistWindowTest::escapeEndsTheCellEditOnly() {
    QFETCH(int, column);
    QFETCH(QString, typed);
    Fixture f;
    f.addThreeVideos();
    f.editor.selectLayout(PlaylistLayout::TitleDescThumb);
    f.editor.setCellText(2, PlaylistEditorModel::TitleColumn, QStringLiteral("Old title"));
    f.editor.setCellText(2, PlaylistEditorModel::DescColumn, QStringLiteral("Old text"));
    const QString before = f.editor.cellText(2, column);
    FrmVideoFilesMulti dialog(f.controller);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    clickCell(dialog, 2, column, Qt::LeftButton);
    QLineEdit* box = editBox(dialog);
    QCOMPARE(QApplication::focusWidget(), box);
    if (!box->isReadOnly()) {
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClicks(box, typed);
    }

    QTest::keyClick(box, Qt::Key_Escape);

    QVERIFY(dialog.isVisible());
    QVERIFY(f.editor.isVisible());
    QCOMPARE(f.editor.cellText(2, column), before);
    QCOMPARE(grid(dialog)->item(1, column)->text(), before);
    QVERIFY(!box->isVisible());
    QCOMPARE(QApplication::focusWidget(), grid(dialog));
    QCOMPARE(grid(dialog)->currentRow(), 1);
    QCOMPARE(grid(dialog)->currentColumn(), column);

    if (column == PlaylistEditorModel::ThumbColumn)
        return;
    clickCell(dialog, 2, column, Qt::LeftButton);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("!"));
    QCOMPARE(f.editor.cellText(2, column), before + QStringLiteral("!"));
}

void PlaylistWindowTest::clearAsksFirst_data() {
    QTest::addColumn<bool>("withVideos");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<int>("rowsAfter");
    QTest::newRow("Yes empties the grid") << true << true << 1;
    QTest::newRow("No keeps the rows") << true << false << 3;
    QTest::newRow("an empty grid is cleared without asking") << false << false << 1;
}

void PlaylistWindowTest::clearAsksFirst() {
    QFETCH(bool, withVideos);
    QFETCH(bool, yes);
    QFETCH(int, rowsAfter);
    Fixture f;
    if (withVideos)
        f.addThreeVideos();
    FrmVideoFilesMulti dialog(f.controller);
    dialog.show();
    f.dialogs.answers.enqueue(yes ? Dialogs::Answer::Yes : Dialogs::Answer::No);

    QTest::mouseClick(child<QPushButton>(dialog, "cmdClearPlaylist"), Qt::LeftButton);

    QCOMPARE(f.dialogs.texts(),
             withVideos ? QStringList{"DO YOU WANT TO CLEAR THE WHOLE PLAYLIST?"} : QStringList());
    QCOMPARE(grid(dialog)->rowCount(), rowsAfter);
    QCOMPARE(grid(dialog)->item(0, 0)->text(), withVideos && !yes ? "a.flv" : "");
    QVERIFY(dialog.isVisible());
}

void PlaylistWindowTest::captionLanguagesAndLabels_data() {
    QTest::addColumn<bool>("enter");  // Return ends the typing, or the button is clicked at once
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("label");
    QTest::newRow("OK") << true << "cmdOK"
                        << "de"
                        << "Deutsch";
    QTest::newRow("OK while typing") << false << "cmdOK"
                                     << "de"
                                     << "Deutsch";
    QTest::newRow("Cancel") << true << "cmdCancel"
                            << ""
                            << "";
}

// The row menu opens the row's caption tracks in their own dialog: a label typed into the table
// and a language set there (its control code dropped as the table shows) reach the row with OK,
// and Cancel leaves the row as it was.
void PlaylistWindowTest::captionLanguagesAndLabels() {
    QFETCH(bool, enter);
    QFETCH(QString, button);
    QFETCH(QString, language);
    QFETCH(QString, label);
    QTemporaryDir dir;
    const QString captions = dir.filePath("b.vtt");
    TextFile::writeBytes(captions, "WEBVTT\n\n00:01.000 --> 00:02.000\nHallo\n");
    Fixture f;
    f.addThreeVideos();
    FrmVideoFilesMulti dialog(f.controller);
    dialog.show();
    clickCell(dialog, 2, PlaylistEditorModel::FlashColumn, Qt::RightButton);
    QVERIFY(!child<QAction>(dialog, "mnuEditCaptions")->isEnabled());
    child<QMenu>(dialog, "mnuMenuVideo")->hide();
    f.dialogs.openAnswers.enqueue(QStringList{captions});
    child<QAction>(dialog, "mnuAddCaptions")->trigger();
    // The grid marks the row that has captions now, and names the file in the cell's tool tip.
    QCOMPARE(grid(dialog)->item(1, 0)->text(), QStringLiteral("[CC] b.flv"));
    QCOMPARE(grid(dialog)->item(1, 0)->toolTip(), QStringLiteral("Caption tracks of b.flv: b.vtt"));
    QCOMPARE(grid(dialog)->item(0, 0)->text(), QStringLiteral("a.flv"));
    clickCell(dialog, 2, PlaylistEditorModel::FlashColumn, Qt::RightButton);
    auto* edit = child<QAction>(dialog, "mnuEditCaptions");
    QVERIFY(edit->isEnabled());
    QCOMPARE(edit->text(), QStringLiteral("&Caption languages and labels of \"b.flv\"..."));
    child<QMenu>(dialog, "mnuMenuVideo")->hide();

    QString title;
    QString shownLanguage;
    QTimer::singleShot(0, [&] {
        auto* window = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QVERIFY(window != nullptr);
        // A failed step still closes the window; one the buttons closed keeps their answer.
        const auto closing = qScopeGuard([window] {
            if (window->isVisible())
                window->reject();
        });
        QVERIFY(QTest::qWaitForWindowActive(window));
        title = window->windowTitle();
        auto* grid = child<QTableWidget>(*window, "grdCaptions");
        QCOMPARE(grid->rowCount(), 1);
        QCOMPARE(grid->item(0, 0)->text(), QStringLiteral("b.vtt"));
        grid->item(0, 1)->setText(QStringLiteral("d\u0001e"));
        shownLanguage = grid->item(0, 1)->text();
        grid->setCurrentCell(0, 2);
        grid->editItem(grid->item(0, 2));
        auto* box = grid->viewport()->findChild<QLineEdit*>();
        QVERIFY(box != nullptr);
        QTest::keyClicks(box, QStringLiteral("Deutsch"));
        if (enter) {
            QTest::keyClick(box, Qt::Key_Return);
            QTRY_COMPARE(grid->item(0, 2)->text(), QStringLiteral("Deutsch"));
        }
        QTest::mouseClick(child<QPushButton>(*window, qPrintable(button)), Qt::LeftButton);
    });
    edit->trigger();

    QCOMPARE(title, QStringLiteral("Caption Languages and Labels of \"b.flv\""));
    QCOMPARE(shownLanguage, QStringLiteral("de"));
    QCOMPARE(f.editor.playlist().rows[1].Captions, (CaptionTracks{{captions, language, label}}));
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
    f.dialogs.answers.enqueue(Dialogs::Answer::Yes);
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

namespace {

// Makes the cell only partly visible at the right or bottom edge of the grid by resizing the
// window around it (a cell cut at the bottom is kept whole sideways); returns a point inside its
// visible part.
QPoint partlyVisible(QWidget& window, int row, int column, bool atRight) {
    QTableWidget* g = grid(window);
    const QRect cell = g->visualItemRect(g->item(row - 1, column));
    const QSize viewport = g->viewport()->size();
    const QSize change = atRight ? QSize(cell.left() + cell.width() / 3 - viewport.width(), 0)
                                 : QSize(std::max(0, cell.right() + 1 - viewport.width()),
                                         cell.top() + cell.height() / 2 - viewport.height());
    window.resize(window.size() + change);
    QApplication::processEvents();
    const QRect shown = g->visualItemRect(g->item(row - 1, column));
    const QRect visible = shown & g->viewport()->rect();
    if (visible.isEmpty() || visible == shown)
        qFatal("cell %d,%d is not partly visible", row, column);
    return visible.center();
}

// Long enough for the grid's own delayed scroll to the clicked cell, which waits out a
// double-click.
void waitPastDoubleClick() {
    QTest::qWait(QApplication::doubleClickInterval() + 200);
}

}  // namespace

void PlaylistWindowTest::partlyVisibleCellTakesTyping_data() {
    QTest::addColumn<int>("layout");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("atRight");
    const int title = PlaylistEditorModel::TitleColumn;
    const int desc = PlaylistEditorModel::DescColumn;
    const int thumb = PlaylistEditorModel::ThumbColumn;
    const int titleOnly = int(PlaylistLayout::TitleOnly);
    const int titleDesc = int(PlaylistLayout::TitleDesc);
    const int withThumb = int(PlaylistLayout::TitleDescThumb);
    QTest::newRow("title only, title at the right") << titleOnly << 1 << title << true;
    QTest::newRow("title only, last row at the bottom") << titleOnly << 12 << title << false;
    QTest::newRow("description at the right") << titleDesc << 1 << desc << true;
    QTest::newRow("description, last row at the bottom") << titleDesc << 12 << desc << false;
    QTest::newRow("thumbnail layout, description at the right") << withThumb << 2 << desc << true;
    QTest::newRow("thumbnail at the right") << withThumb << 1 << thumb << true;
    QTest::newRow("thumbnail, last row at the bottom") << withThumb << 12 << thumb << false;
}

void PlaylistWindowTest::partlyVisibleCellTakesTyping() {
    QFETCH(int, layout);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(bool, atRight);
    Fixture f;
    QStringList clips;
    for (int i = 1; i <= 12; ++i)
        clips.append(QStringLiteral("/v/clip%1.flv").arg(i));
    f.dialogs.openAnswers.enqueue(clips);
    f.editor.addFlashFiles();
    f.editor.selectLayout(PlaylistLayout(layout));
    FrmVideoFilesMulti dialog(f.controller);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    QTest::mouseClick(grid(dialog)->viewport(), Qt::LeftButton, {},
                      partlyVisible(dialog, row, column, atRight));
    waitPastDoubleClick();
    QCOMPARE(f.editor.currentRow(), row);
    QCOMPARE(f.editor.currentColumn(), column);
    // The grid has scrolled the whole cell into view, and the box sits on it there. The grid's
    // scroll is a timer's, which fires late on a busy machine.
    const auto cellNow = [&] {
        return grid(dialog)->visualItemRect(grid(dialog)->item(row - 1, column));
    };
    QTRY_VERIFY_WITH_TIMEOUT(grid(dialog)->viewport()->rect().contains(cellNow()), 5000);
    const QRect cell = cellNow();
    QLineEdit* box = editBox(dialog);
    QVERIFY(box->isVisible());
    QCOMPARE(QApplication::focusWidget(), box);
    QTRY_COMPARE_WITH_TIMEOUT(box->geometry(), cell, 2000);

    if (column == PlaylistEditorModel::ThumbColumn) {
        f.dialogs.openAnswers.enqueue(QStringList{"/pics/shot.jpg"});
        auto* choose = child<QPushButton>(dialog, "cmdGetThumbImage");
        QVERIFY(choose->isVisible());
        QVERIFY(box->geometry().contains(choose->geometry()));
        QTest::mouseClick(choose, Qt::LeftButton);
        QCOMPARE(f.editor.cellText(row, column), QStringLiteral("shot.jpg"));
        return;
    }
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Typed"));
    QCOMPARE(f.editor.cellText(row, column), QStringLiteral("Typed"));

    // Scrolling by the user hides the box; the current cell and its text stay as they were.
    grid(dialog)->verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
    QVERIFY(!box->isVisible());
    QCOMPARE(QApplication::focusWidget(), grid(dialog));
    QCOMPARE(f.editor.currentRow(), row);
    QCOMPARE(f.editor.currentColumn(), column);
    QCOMPARE(f.editor.cellText(row, column), QStringLiteral("Typed"));
}

void PlaylistWindowTest::cellMessageLeavesFocusInEditBox_data() {
    QTest::addColumn<int>("layout");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("before");  // the cell's text; every other text cell is filled
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("messageBox");  // the desktop's own message box, closed by a key
    const int titleOnly = int(PlaylistLayout::TitleOnly);
    const int titleDesc = int(PlaylistLayout::TitleDesc);
    QTest::newRow("title, on saving the playlist file")
        << titleOnly << 2 << int(PlaylistEditorModel::TitleColumn) << ""
        << "cmdSavePlaylist"
        << "TITLE MISSING FOR clip2.flv" << false;
    QTest::newRow("description, on saving the playlist file")
        << titleDesc << 1 << int(PlaylistEditorModel::DescColumn) << ""
        << "cmdSavePlaylist"
        << "DESCRIPTION MISSING FOR clip1.flv" << false;
    QTest::newRow("title, on save and exit")
        << titleDesc << 1 << int(PlaylistEditorModel::TitleColumn) << ""
        << "cmdSave"
        << "TITLE MISSING FOR clip1.flv" << false;
    QTest::newRow("a title the file cannot store")
        << titleDesc << 2 << int(PlaylistEditorModel::TitleColumn) << "A\tB"
        << "cmdSavePlaylist"
        << "PLAYLIST NOT SAVED. CHARACTER 2 (CONTROL CODE 9) OF THE TITLE OF ROW 2 CANNOT BE "
           "STORED IN A PLAYLIST FILE. PLEASE REMOVE IT AND SAVE AGAIN."
        << false;
    QTest::newRow("title, on save and exit, through a message box")
        << titleOnly << 2 << int(PlaylistEditorModel::TitleColumn) << ""
        << "cmdSave"
        << "TITLE MISSING FOR clip2.flv" << true;
    QTest::newRow("title of the current cell, through a message box")
        << titleOnly << 1 << int(PlaylistEditorModel::TitleColumn) << ""
        << "cmdSavePlaylist"
        << "TITLE MISSING FOR clip1.flv" << true;
    QTest::newRow("description, through a message box")
        << titleDesc << 2 << int(PlaylistEditorModel::DescColumn) << ""
        << "cmdSave"
        << "DESCRIPTION MISSING FOR clip2.flv" << true;
}

namespace {

// The scripted user, but with the desktop's own message boxes, which the user closes with Enter.
class MessageBoxDialogs : public FakeDialogs {
  public:
    bool realBoxes = false;

    Answer message(const QString& text, Icon icon, Buttons buttons, const QString& title) override {
        const Answer scripted = FakeDialogs::message(text, icon, buttons, title);
        if (!realBoxes)
            return scripted;
        QTimer::singleShot(0, [] {
            QWidget* box = QApplication::activeModalWidget();
            QVERIFY(box != nullptr);
            QVERIFY(QTest::qWaitForWindowActive(box));
            QTest::keyClick(box, Qt::Key_Return);
        });
        return m_boxes.message(text, icon, buttons, title);
    }

  private:
    QtDialogs m_boxes;
};

}  // namespace

// The message goes through the desktop program's own views, as in a real run: the editor is
// shown modally and the user's clicks and keys come while it waits.
void PlaylistWindowTest::cellMessageLeavesFocusInEditBox() {
    QFETCH(int, layout);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, before);
    QFETCH(QString, button);
    QFETCH(QString, message);
    QFETCH(bool, messageBox);
    TestInstallation install;
    MessageBoxDialogs dialogs;
    dialogs.realBoxes = messageBox;
    QtViews views;
    FakeClock clock;
    FakeRandom random;
    MainController controller{install.paths(), dialogs, views, clock, random};
    controller.loadInstallation();
    FrmMain frmMain(controller);
    views.attach(controller, frmMain);
    frmMain.show();
    PlaylistEditorModel& editor = controller.playlistEditor();
    dialogs.openAnswers.enqueue(QStringList{"/v/clip1.flv", "/v/clip2.flv"});
    editor.addFlashFiles();
    editor.selectLayout(PlaylistLayout(layout));
    for (int r = 1; r <= 2; ++r)
        for (int c : {int(PlaylistEditorModel::TitleColumn), int(PlaylistEditorModel::DescColumn)})
            editor.setCellText(r, c, r == row && c == column ? before : QStringLiteral("text"));
    editor.setCurrentCell(1,
                          messageBox && row == 1 ? column : int(PlaylistEditorModel::FlashColumn));

    QString typedInto;
    QTimer::singleShot(0, [&] {
        auto* window = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QVERIFY(window != nullptr);
        // However the script ends, the window closes, so the modal loop below returns.
        const auto closing = qScopeGuard([window] { window->reject(); });
        QVERIFY(QTest::qWaitForWindowActive(window));
        dialogs.saveAnswers.enqueue(install.appFolder() + QStringLiteral("/list.plf"));
        QTest::mouseClick(child<QPushButton>(*window, qPrintable(button)), Qt::LeftButton);
        QVERIFY(window->isVisible());
        // The window manager activates the window a message box leaves; the offscreen screen
        // has none, so the test does.
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus != nullptr);
        typedInto = focus->objectName();
        QTest::keyClicks(focus, QStringLiteral("Filled"));
    });
    editor.show();
    views.showPlaylistEditor();

    QCOMPARE(dialogs.texts(), QStringList{message});
    QCOMPARE(typedInto, QStringLiteral("txtEditGrid"));
    QCOMPARE(editor.cellText(row, column), before + QStringLiteral("Filled"));
}

// The window opens at a size that fits a 1280 x 720 screen with a title bar and a desktop panel,
// and every column of every layout is in view without scrolling sideways, even with the
// vertical scroll bar of a long playlist.
void PlaylistWindowTest::defaultSizeShowsEveryColumn() {
    Fixture f;
    QStringList clips;
    for (int i = 1; i <= 40; ++i)
        clips.append(QStringLiteral("/v/clip%1.flv").arg(i));
    f.dialogs.openAnswers.enqueue(clips);
    f.editor.addFlashFiles();
    FrmVideoFilesMulti dialog(f.controller);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(dialog.width() <= 1270);
    QVERIFY(dialog.height() <= 640);

    QTableWidget* g = grid(dialog);
    QVERIFY(g->verticalScrollBar()->isVisible());
    for (const char* layout : {"opt1", "opt2", "opt3"}) {
        choose(dialog, layout);
        QApplication::processEvents();
        QCOMPARE(g->horizontalScrollBar()->maximum(), 0);
        for (int c = 0; c < g->columnCount(); ++c) {
            const int end = g->horizontalHeader()->sectionViewportPosition(c) +
                            g->horizontalHeader()->sectionSize(c);
            QVERIFY2(end <= g->viewport()->width(),
                     qPrintable(QStringLiteral("%1: column %2 ends at %3 of %4")
                                    .arg(layout)
                                    .arg(c)
                                    .arg(end)
                                    .arg(g->viewport()->width())));
        }
    }
}

QTEST_MAIN(PlaylistWindowTest)
#include "tst_PlaylistWindow.moc"
