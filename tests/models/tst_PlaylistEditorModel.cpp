#include <QTemporaryDir>
#include <QtTest>

#include "FakeDialogs.h"
#include "FakeViews.h"
#include "media/PlaylistFile.h"
#include "models/CaptionTracksDialogModel.h"
#include "models/PlaylistEditorModel.h"
#include "models/SelectionHost.h"
#include "platform/TextFile.h"

namespace {

class FakeHost : public SelectionHost {
  public:
    StreamingMode mode = StreamingMode::Normal;
    bool html5On = false;
    bool marker = true;

    StreamingMode streamingMode() const override { return mode; }
    bool html5() const override { return html5On; }
    void setHtml5(bool on) override { html5On = on; }
    bool videoFilesStatusVisible() const override { return marker; }
    void setVideoFilesStatusVisible(bool visible) override { marker = visible; }
};

struct Fixture {
    FakeHost host;
    FakeDialogs dialogs;
    FakeViews views;
    PlaylistEditorModel editor{host, dialogs, views};

    // The next file dialog answers with these files of `folder`.
    void willPick(const QString& folder, const QStringList& names) {
        QStringList paths;
        for (const QString& name : names)
            paths.append(folder + name);
        dialogs.openAnswers.enqueue(paths);
    }
    void addFlash(const QString& folder, const QStringList& names) {
        willPick(folder, names);
        editor.addFlashFiles();
    }
    // Flash files f1..fn from /v/, each with a title.
    void fill(int rows, PlaylistLayout layout = PlaylistLayout::TitleOnly) {
        QStringList names;
        for (int r = 1; r <= rows; ++r)
            names.append(QStringLiteral("f%1.flv").arg(r));
        addFlash(QStringLiteral("/v/"), names);
        editor.selectLayout(layout);
        for (int r = 1; r <= rows; ++r) {
            editor.setCellText(r, PlaylistEditorModel::TitleColumn, QStringLiteral("T%1").arg(r));
            editor.setCellText(r, PlaylistEditorModel::DescColumn, QStringLiteral("D%1").arg(r));
        }
    }
    QStringList column(int c) const {
        QStringList out;
        for (int r = 1; r <= editor.rowCount(); ++r)
            out.append(editor.cellText(r, c));
        return out;
    }
};

const QString AskAddOrReplace =
    QStringLiteral("DO YOU WANT TO ADD OR REPLACE EXISTING VIDEOS? ADD = Yes, REPLACE = No");

}  // namespace

class PlaylistEditorTest : public QObject {
    Q_OBJECT

  private slots:
    void copiesFillTheMissingMp4Cells();
    void layoutsKeepOrDropColumns_data();
    void layoutsKeepOrDropColumns();
    void invisibleLocksLayoutChoice();
    void fileCommands_data();
    void fileCommands();
    void checkDataOrder_data();
    void checkDataOrder();
    void closePathsSetMarker();
    void pipeNeverEntersTextCells();
    void keysMoveCurrentCell_data();
    void keysMoveCurrentCell();
    void rowMenu();
    void rowCaptions();
    void captionLanguagesAndLabels_data();
    void captionLanguagesAndLabels();
    void editedCaptionsSurviveThePlaylistFile();
    void rowMovesAndRemoval_data();
    void rowMovesAndRemoval();
    void thumbnailsShareLastFolder();
    void saveAndLoadRoundTrip();
    void saveRefusalsWriteNothing();
    void loadKeepsPlaylistOnBadFile();
    void clearKeepsFoldersAndReplaces();
    void addStartsAtFirstEmptyCell();
    void replacedFlashFilesDropWhatBelongsToTheOld_data();
    void replacedFlashFilesDropWhatBelongsToTheOld();
    void clearAsksWhenTheGridHoldsAnything_data();
    void clearAsksWhenTheGridHoldsAnything();
    void escapeGivesTheCellItsTextBack_data();
    void escapeGivesTheCellItsTextBack();
    void rowMenuOpensNoEditor_data();
    void rowMenuOpensNoEditor();
    void gridMarksRowsWithCaptions_data();
    void gridMarksRowsWithCaptions();
};

void PlaylistEditorTest::layoutsKeepOrDropColumns_data() {
    QTest::addColumn<PlaylistLayout>("to");
    QTest::addColumn<int>("columns");
    QTest::addColumn<QString>("descAfterReturn");
    QTest::addColumn<QString>("thumbAfterReturn");
    QTest::newRow("title only") << PlaylistLayout::TitleOnly << 4 << ""
                                << "";
    QTest::newRow("title and description") << PlaylistLayout::TitleDesc << 5 << "D1"
                                           << "";
    QTest::newRow("unchanged") << PlaylistLayout::TitleDescThumb << 6 << "D1"
                               << "t.jpg";
}

void PlaylistEditorTest::layoutsKeepOrDropColumns() {
    QFETCH(PlaylistLayout, to);
    QFETCH(int, columns);
    QFETCH(QString, descAfterReturn);
    QFETCH(QString, thumbAfterReturn);
    Fixture f;
    f.fill(2, PlaylistLayout::TitleDescThumb);
    f.editor.setCurrentCell(1, PlaylistEditorModel::ThumbColumn);
    f.willPick(QStringLiteral("/img/"), {QStringLiteral("t.jpg")});
    f.editor.chooseThumbnail();

    f.editor.selectLayout(to);
    QCOMPARE(f.editor.columnCount(), columns);
    f.editor.selectLayout(PlaylistLayout::TitleDescThumb);

    QCOMPARE(f.editor.playlist().rows[0].Description, descAfterReturn);
    QCOMPARE(f.editor.playlist().rows[0].Thumbnail, thumbAfterReturn);
    QCOMPARE(f.editor.playlist().rows[0].Title, QStringLiteral("T1"));
}

void PlaylistEditorTest::invisibleLocksLayoutChoice() {
    Fixture f;
    f.editor.selectLayout(PlaylistLayout::TitleDesc);
    f.editor.selectPosition(PlaylistPosition::Invisible);
    QVERIFY(!f.editor.layoutChoiceEnabled());
    f.editor.selectLayout(PlaylistLayout::TitleOnly);  // a disabled option cannot be chosen
    QCOMPARE(f.editor.playlist().layout, PlaylistLayout::TitleDesc);

    f.editor.selectPosition(PlaylistPosition::Bottom);
    QVERIFY(f.editor.layoutChoiceEnabled());
    QCOMPARE(f.editor.playlist().layout, PlaylistLayout::TitleDesc);
    QCOMPARE(f.editor.playlist().position, PlaylistPosition::Bottom);
}

void PlaylistEditorTest::fileCommands_data() {
    QTest::addColumn<int>("rowsBefore");  // Flash files f1..fn from /v/
    QTest::addColumn<bool>("flash");      // else the Mp4 command
    QTest::addColumn<bool>("add");        // the answer to the add-or-replace question
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QStringList>("columnAfter");
    QTest::addColumn<QString>("folderAfter");

    const QStringList none;
    const QString single = QStringLiteral("YOU NEED TO CHOOSE AT LEAST TWO VIDEO FILES.");
    const QString sameFolder = QStringLiteral(
        "TO ADD FILES THE FILES SHOULD BE IN THE SAME FOLDER AS THE PREVIOUS FILES WHICH IS /v/");
    QTest::newRow("one file into an empty playlist")
        << 0 << true << false << "/v/" << QStringList{"a.flv"} << QStringList{single}
        << QStringList{""} << "";
    QTest::newRow("three files into an empty playlist")
        << 0 << true << false << "/v/" << QStringList{"a.flv", "b.flv", "c.flv"} << none
        << QStringList{"a.flv", "b.flv", "c.flv"} << "/v/";
    QTest::newRow("replace three of five Mp4 cells")
        << 5 << false << false << "/m/" << QStringList{"a.mp4", "b.mp4", "c.mp4"}
        << QStringList{AskAddOrReplace}
        << QStringList{"a.mp4", "b.mp4", "c.mp4", "old4.mp4", "old5.mp4"} << "/m/";
    QTest::newRow("replace asks when row 1 is filled")
        << 3 << true << false << "/w/" << QStringList{"a.flv", "b.flv"}
        << QStringList{AskAddOrReplace} << QStringList{"a.flv", "b.flv", "f3.flv"} << "/w/";
    QTest::newRow("add one file to three rows")
        << 3 << true << true << "/v/" << QStringList{"d.flv"} << QStringList{AskAddOrReplace}
        << QStringList{"f1.flv", "f2.flv", "f3.flv", "d.flv"} << "/v/";
    QTest::newRow("add from another folder")
        << 3 << true << true << "/w/" << QStringList{"d.flv", "e.flv"}
        << QStringList{AskAddOrReplace, sameFolder} << QStringList{"f1.flv", "f2.flv", "f3.flv"}
        << "/v/";
    QTest::newRow("add from a folder differing in case")
        << 3 << true << true << "/V/" << QStringList{"d.flv", "e.flv"}
        << QStringList{AskAddOrReplace, sameFolder} << QStringList{"f1.flv", "f2.flv", "f3.flv"}
        << "/v/";
}

void PlaylistEditorTest::fileCommands() {
    QFETCH(int, rowsBefore);
    QFETCH(bool, flash);
    QFETCH(bool, add);
    QFETCH(QString, folder);
    QFETCH(QStringList, names);
    QFETCH(QStringList, messages);
    QFETCH(QStringList, columnAfter);
    QFETCH(QString, folderAfter);
    Fixture f;
    if (rowsBefore > 0)
        f.fill(rowsBefore);
    if (!flash) {  // an Mp4 column as full as the Flash column
        QStringList mp4s;
        for (int r = 1; r <= rowsBefore; ++r)
            mp4s.append(QStringLiteral("old%1.mp4").arg(r));
        f.willPick(QStringLiteral("/o/"), mp4s);
        f.editor.addMp4Files();
    }
    f.dialogs.messages.clear();
    f.dialogs.answers.enqueue(add ? Dialogs::Answer::Yes : Dialogs::Answer::No);

    f.willPick(folder, names);
    flash ? f.editor.addFlashFiles() : f.editor.addMp4Files();

    QCOMPARE(f.dialogs.texts(), messages);
    QCOMPARE(f.column(flash ? PlaylistEditorModel::FlashColumn : PlaylistEditorModel::Mp4Column),
             columnAfter);
    QCOMPARE(flash ? f.editor.playlist().FLVVideoFilesPath : f.editor.playlist().Mp4VideoFilesPath,
             folderAfter);
    QCOMPARE(f.dialogs.fileRequests.last().title, QStringLiteral("Open Video Files"));
    QVERIFY(f.dialogs.fileRequests.last().multiple);
}

void PlaylistEditorTest::checkDataOrder_data() {
    QTest::addColumn<PlaylistLayout>("layout");
    QTest::addColumn<bool>("html5");
    QTest::addColumn<int>("rowToBreak");  // 0: none
    QTest::addColumn<int>("columnToBreak");
    QTest::addColumn<QString>("blank");
    QTest::addColumn<QString>("message");  // empty: complete
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");

    using E = PlaylistEditorModel;
    QTest::newRow("complete") << PlaylistLayout::TitleOnly << false << 0 << 0 << ""
                              << "" << 0 << 0;
    QTest::newRow("no flash files")
        << PlaylistLayout::TitleDesc << false << 1 << int(E::FlashColumn) << ""
        << "FLV FILES MISSING" << 0 << 0;
    QTest::newRow("html5 without mp4 files") << PlaylistLayout::TitleOnly << true << 0 << 0 << ""
                                             << "MP4 FILES MISSING" << 0 << 0;
    QTest::newRow("blank title of row 2")
        << PlaylistLayout::TitleOnly << false << 2 << int(E::TitleColumn) << "   "
        << "TITLE MISSING FOR f2.flv" << 2 << int(E::TitleColumn);
    QTest::newRow("blank description")
        << PlaylistLayout::TitleDesc << false << 3 << int(E::DescColumn) << " "
        << "DESCRIPTION MISSING FOR f3.flv" << 3 << int(E::DescColumn);
    QTest::newRow("thumbnail layout needs no description")
        << PlaylistLayout::TitleDescThumb << false << 2 << int(E::DescColumn) << ""
        << "" << 0 << 0;
    QTest::newRow("missing thumbnail")
        << PlaylistLayout::TitleDescThumb << false << 2 << int(E::ThumbColumn) << ""
        << "THUMBNAIL MISSING FOR f2.flv" << 2 << int(E::ThumbColumn);
}

void PlaylistEditorTest::checkDataOrder() {
    QFETCH(PlaylistLayout, layout);
    QFETCH(bool, html5);
    QFETCH(int, rowToBreak);
    QFETCH(int, columnToBreak);
    QFETCH(QString, blank);
    QFETCH(QString, message);
    QFETCH(int, row);
    QFETCH(int, column);
    Fixture f;
    f.host.html5On = html5;
    f.editor.show();
    f.fill(3, layout);
    for (int r = 1; r <= 3; ++r) {
        const bool breakThumb =
            columnToBreak == PlaylistEditorModel::ThumbColumn && r == rowToBreak;
        if (layout == PlaylistLayout::TitleDescThumb && !breakThumb) {
            f.editor.setCurrentCell(r, PlaylistEditorModel::ThumbColumn);
            f.willPick(QStringLiteral("/img/"), {QStringLiteral("t.jpg")});
            f.editor.chooseThumbnail();
        }
    }
    if (rowToBreak == 1 && columnToBreak == PlaylistEditorModel::FlashColumn) {
        f.dialogs.answers.enqueue(Dialogs::Answer::Yes);
        f.editor.clearPlaylist();
    } else if (rowToBreak > 0 && columnToBreak != PlaylistEditorModel::ThumbColumn)
        f.editor.setCellText(rowToBreak, columnToBreak, blank);
    f.editor.setCurrentCell(1, 0);
    f.dialogs.messages.clear();
    f.dialogs.fileRequests.clear();

    QCOMPARE(f.editor.checkData(true), message.isEmpty());
    QVERIFY(f.dialogs.messages.isEmpty());
    QCOMPARE(f.editor.currentRow(), 1);

    QCOMPARE(f.editor.checkData(false), message.isEmpty());
    QCOMPARE(f.dialogs.texts(), message.isEmpty() ? QStringList() : QStringList{message});
    if (message.isEmpty())
        return;
    QCOMPARE(f.dialogs.messages.first().title, QStringLiteral("Error"));
    if (row == 0) {  // the missing files are asked for at once
        QCOMPARE(f.dialogs.fileRequests.size(), 1);
        QCOMPARE(f.views.log, QStringList());
    } else {
        QCOMPARE(f.editor.currentRow(), row);
        QCOMPARE(f.editor.currentColumn(), column);
        QCOMPARE(f.views.log, QStringList{QStringLiteral("focus:txtEditGrid")});
    }
}

void PlaylistEditorTest::closePathsSetMarker() {
    Fixture f;
    f.host.marker = false;
    f.editor.show();
    f.editor.cancel();
    QVERIFY(f.host.marker);  // incomplete

    f.editor.show();
    f.fill(2);
    f.editor.save();
    QVERIFY(!f.host.marker);
    QVERIFY(!f.editor.isVisible());

    f.editor.show();
    f.editor.setCellText(2, PlaylistEditorModel::TitleColumn, QString());
    f.editor.remoteClick();
    QVERIFY(f.host.marker);
    f.editor.help();
    QCOMPARE(f.views.log.last(), QStringLiteral("help:3"));
}

void PlaylistEditorTest::pipeNeverEntersTextCells() {
    Fixture f;
    f.fill(2, PlaylistLayout::TitleDesc);
    f.editor.setCellText(1, PlaylistEditorModel::TitleColumn, QStringLiteral("A|B"));
    f.editor.setCellText(2, PlaylistEditorModel::DescColumn, QStringLiteral("|x|"));
    f.editor.setCellText(1, PlaylistEditorModel::FlashColumn, QStringLiteral("typed.flv"));
    QCOMPARE(f.editor.cellText(1, PlaylistEditorModel::TitleColumn), QStringLiteral("AB"));
    QCOMPARE(f.editor.cellText(2, PlaylistEditorModel::DescColumn), QStringLiteral("x"));
    QCOMPARE(f.editor.cellText(1, PlaylistEditorModel::FlashColumn), QStringLiteral("f1.flv"));
}

void PlaylistEditorTest::keysMoveCurrentCell_data() {
    QTest::addColumn<PlaylistEditorModel::Key>("key");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("rowAfter");
    QTest::addColumn<int>("columnAfter");
    QTest::addColumn<bool>("editBox");
    using K = PlaylistEditorModel::Key;
    QTest::newRow("enter") << K::Enter << 1 << 3 << 1 << 4 << true;
    QTest::newRow("enter in the last column") << K::Enter << 1 << 4 << 1 << 4 << true;
    QTest::newRow("right in the last column") << K::Right << 2 << 4 << 2 << 4 << true;
    QTest::newRow("up on row 1") << K::Up << 1 << 3 << 1 << 3 << true;
    QTest::newRow("down on the last row") << K::Down << 2 << 3 << 2 << 3 << true;
    QTest::newRow("down") << K::Down << 1 << 4 << 2 << 4 << true;
    QTest::newRow("left onto a file column") << K::Left << 1 << 3 << 1 << 2 << false;
}

void PlaylistEditorTest::keysMoveCurrentCell() {
    QFETCH(PlaylistEditorModel::Key, key);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(int, rowAfter);
    QFETCH(int, columnAfter);
    QFETCH(bool, editBox);
    Fixture f;
    f.fill(2, PlaylistLayout::TitleDesc);
    f.editor.setCurrentCell(row, column);
    f.editor.pressKey(key);
    QCOMPARE(f.editor.currentRow(), rowAfter);
    QCOMPARE(f.editor.currentColumn(), columnAfter);
    QCOMPARE(f.editor.editBoxVisible(), editBox);
    QVERIFY(!f.editor.thumbButtonVisible());
}

void PlaylistEditorTest::rowMenu() {
    Fixture f;
    f.fill(2, PlaylistLayout::TitleDescThumb);
    f.editor.setCurrentCell(2, PlaylistEditorModel::ThumbColumn);
    QVERIFY(f.editor.thumbButtonVisible());
    QVERIFY(f.editor.editBoxLocked());

    const auto menu = f.editor.rowMenuAt(1, PlaylistEditorModel::Mp4Column);
    QVERIFY(menu);
    QCOMPARE(menu->moveUp, QStringLiteral("Move \"f1.flv\" up"));
    QCOMPARE(menu->moveDown, QStringLiteral("Move \"f1.flv\" down"));
    QCOMPARE(menu->remove, QStringLiteral("Remove \"f1.flv\""));
    QCOMPARE(f.editor.currentRow(), 1);
    QVERIFY(!f.editor.rowMenuAt(2, PlaylistEditorModel::TitleColumn));
    f.dialogs.answers.enqueue(Dialogs::Answer::Yes);
    f.editor.clearPlaylist();
    QVERIFY(!f.editor.rowMenuAt(1, PlaylistEditorModel::FlashColumn));
}

// The row menu adds caption files to the row it was opened on (an unusable file is reported and
// left out), names how many it has, and removes them; the tracks move with their row.
void PlaylistEditorTest::rowCaptions() {
    QTemporaryDir dir;
    const QString good = dir.filePath("f2.es.srt");
    const QString bad = dir.filePath("f2.vtt");
    TextFile::writeBytes(good, "1\n00:00:01,000 --> 00:00:02,000\nHola\n");
    TextFile::writeBytes(bad, "");
    Fixture f;
    f.fill(3);
    auto menu = f.editor.rowMenuAt(2, PlaylistEditorModel::FlashColumn);
    QVERIFY(menu);
    QCOMPARE(menu->addCaptions, QStringLiteral("Add captions to \"f2.flv\"..."));
    QCOMPARE(menu->removeCaptions, QString());
    f.dialogs.openAnswers.enqueue(QStringList{good, bad});
    f.editor.addCaptionsToVideo();
    QCOMPARE(f.dialogs.texts().size(), 1);
    QVERIFY(f.dialogs.texts()[0].contains(bad + "\nThe file is empty."));
    QCOMPARE(f.editor.playlist().rows[1].Captions, (CaptionTracks{{good, "es", ""}}));
    QVERIFY(f.editor.playlist().rows[0].Captions.isEmpty());

    menu = f.editor.rowMenuAt(2, PlaylistEditorModel::Mp4Column);
    QCOMPARE(menu->removeCaptions, QStringLiteral("Remove the 1 caption track(s) of \"f2.flv\""));
    f.editor.moveVideoUp();
    QCOMPARE(f.editor.playlist().rows[0].Captions, (CaptionTracks{{good, "es", ""}}));
    f.editor.rowMenuAt(1, PlaylistEditorModel::FlashColumn);
    f.editor.removeCaptionsOfVideo();
    for (const PlaylistEntry& row : f.editor.playlist().rows)
        QVERIFY(row.Captions.isEmpty());
}

namespace {

// Three rows, the second with two caption tracks, its menu opened (so it is the current row).
void fillWithCaptions(Fixture& f) {
    f.fill(3);
    QTemporaryDir dir;
    const QString first = dir.filePath("f2.en.vtt");
    const QString second = dir.filePath("f2.vtt");
    TextFile::writeBytes(first, "WEBVTT\n\n00:01.000 --> 00:02.000\nHello\n");
    TextFile::writeBytes(second, "WEBVTT\n\n00:01.000 --> 00:02.000\nHallo\n");
    f.editor.rowMenuAt(2, PlaylistEditorModel::FlashColumn);
    f.dialogs.openAnswers.enqueue(QStringList{first, second});
    f.editor.addCaptionsToVideo();
}

}  // namespace

// The row menu's "Caption languages and labels" hands the row's tracks to a dialog that works on
// a copy: OK keeps what was typed there (without control codes), Cancel keeps the row as it was.
void PlaylistEditorTest::captionLanguagesAndLabels_data() {
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("keptLanguage");
    QTest::addColumn<QString>("keptLabel");
    QTest::newRow("ok") << true << "pt-BR"
                        << "Portugu\u00eas | SDH"
                        << "pt-BR"
                        << "Portugu\u00eas | SDH";
    QTest::newRow("ok drops control codes") << true << "d\te\u0001"
                                            << "Deutsch\r\n\u0085!"
                                            << "de"
                                            << "Deutsch!";
    QTest::newRow("ok with both emptied") << true << ""
                                          << ""
                                          << ""
                                          << "";
    QTest::newRow("cancel") << false << "fr"
                            << "Fran\u00e7ais"
                            << ""
                            << "";
}

void PlaylistEditorTest::captionLanguagesAndLabels() {
    QFETCH(bool, ok);
    QFETCH(QString, language);
    QFETCH(QString, label);
    QFETCH(QString, keptLanguage);
    QFETCH(QString, keptLabel);
    Fixture f;
    fillWithCaptions(f);
    const auto menu = f.editor.rowMenuAt(2, PlaylistEditorModel::Mp4Column);
    QCOMPARE(menu->editCaptions, QStringLiteral("Caption languages and labels of \"f2.flv\"..."));
    const CaptionTracks before = f.editor.playlist().rows[1].Captions;
    QCOMPARE(before.size(), 2);
    QCOMPARE(before[0].language, QStringLiteral("en"));

    QString shownCaption;
    CaptionTracks shownTracks;
    f.editor.editCaptionsOfVideo([&](CaptionTracksDialogModel& dialog) {
        shownCaption = dialog.caption();
        shownTracks = dialog.tracks();
        dialog.setLanguage(1, language);
        dialog.setLabel(1, label);
        dialog.setLabel(2, QStringLiteral("no such track"));
        return ok;
    });

    QCOMPARE(shownCaption, QStringLiteral("Caption Languages and Labels of \"f2.flv\""));
    QCOMPARE(shownTracks, before);
    CaptionTracks expected = before;
    expected[1].language = keptLanguage;
    expected[1].label = keptLabel;
    QCOMPARE(f.editor.playlist().rows[1].Captions, expected);
    QVERIFY(f.editor.playlist().rows[0].Captions.isEmpty());
    QVERIFY(f.editor.playlist().rows[2].Captions.isEmpty());
}

// What the dialog kept is what the playlist file keeps; a row without captions offers no such
// command, and the dialog is not shown for it.
void PlaylistEditorTest::editedCaptionsSurviveThePlaylistFile() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("list.plf"));
    Fixture saved;
    fillWithCaptions(saved);
    saved.editor.editCaptionsOfVideo([](CaptionTracksDialogModel& dialog) {
        dialog.setLanguage(1, QStringLiteral("de"));
        dialog.setLabel(0, QStringLiteral("English | CC"));
        return true;
    });
    int shown = 0;
    const auto menu = saved.editor.rowMenuAt(3, PlaylistEditorModel::FlashColumn);
    QCOMPARE(menu->editCaptions, QString());
    saved.editor.editCaptionsOfVideo([&shown](CaptionTracksDialogModel&) { return ++shown > 0; });
    QCOMPARE(shown, 0);
    saved.dialogs.saveAnswers.enqueue(path);
    saved.editor.savePlaylist();

    Fixture loaded;
    loaded.dialogs.openAnswers.enqueue(QStringList{path});
    QVERIFY(loaded.editor.loadPlaylist());
    const CaptionTracks& tracks = loaded.editor.playlist().rows[1].Captions;
    QCOMPARE(tracks.size(), 2);
    QCOMPARE(tracks[0].label, QStringLiteral("English | CC"));
    QCOMPARE(tracks[1].language, QStringLiteral("de"));
    QCOMPARE(tracks, saved.editor.playlist().rows[1].Captions);
}

void PlaylistEditorTest::rowMovesAndRemoval_data() {
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QStringList>("flashAfter");
    QTest::addColumn<QStringList>("messages");
    const QStringList none;
    QTest::newRow("up") << 3 << 2 << "up" << QStringList{"f2.flv", "f1.flv", "f3.flv"} << none;
    QTest::newRow("row 1 stays") << 3 << 1 << "up" << QStringList{"f1.flv", "f2.flv", "f3.flv"}
                                 << none;
    QTest::newRow("down") << 3 << 2 << "down" << QStringList{"f1.flv", "f3.flv", "f2.flv"} << none;
    QTest::newRow("last row stays")
        << 3 << 3 << "down" << QStringList{"f1.flv", "f2.flv", "f3.flv"} << none;
    QTest::newRow("remove confirmed") << 3 << 2 << "yes" << QStringList{"f1.flv", "f3.flv"}
                                      << QStringList{"REMOVE f2.flv FROM PLAYLIST ?"};
    QTest::newRow("remove declined") << 3 << 2 << "no" << QStringList{"f1.flv", "f2.flv", "f3.flv"}
                                     << QStringList{"REMOVE f2.flv FROM PLAYLIST ?"};
    QTest::newRow("two rows are the minimum")
        << 2 << 1 << "yes" << QStringList{"f1.flv", "f2.flv"}
        << QStringList{"YOU NEED A MINIMUM OF TWO VIDEO TRACKS FOR MULTITRACK VIDEO!"};
}

void PlaylistEditorTest::rowMovesAndRemoval() {
    QFETCH(int, rows);
    QFETCH(int, row);
    QFETCH(QString, action);
    QFETCH(QStringList, flashAfter);
    QFETCH(QStringList, messages);
    Fixture f;
    f.fill(rows);
    QVERIFY(f.editor.rowMenuAt(row, PlaylistEditorModel::FlashColumn));
    if (action == u"up") {
        f.editor.moveVideoUp();
    } else if (action == u"down") {
        f.editor.moveVideoDown();
    } else {
        f.dialogs.answers.enqueue(action == u"yes" ? Dialogs::Answer::Yes : Dialogs::Answer::No);
        f.editor.removeVideo();
    }
    QCOMPARE(f.column(PlaylistEditorModel::FlashColumn), flashAfter);
    QCOMPARE(f.dialogs.texts(), messages);
    // Whole rows move: the title goes with its file.
    for (int r = 1; r <= f.editor.rowCount(); ++r)
        QCOMPARE(f.editor.cellText(r, PlaylistEditorModel::TitleColumn),
                 QLatin1Char('T') + flashAfter[r - 1].mid(1, 1));
    QCOMPARE(f.editor.playlist().FLVVideoFilesPath, QStringLiteral("/v/"));
}

void PlaylistEditorTest::thumbnailsShareLastFolder() {
    Fixture f;
    f.fill(2, PlaylistLayout::TitleDescThumb);
    f.editor.setCurrentCell(1, PlaylistEditorModel::ThumbColumn);
    f.willPick(QStringLiteral("/a/"), {QStringLiteral("one.jpg")});
    f.editor.chooseThumbnail();
    f.editor.setCurrentCell(2, PlaylistEditorModel::ThumbColumn);
    f.willPick(QStringLiteral("/b/"), {QStringLiteral("two.jpg")});
    f.editor.editBoxDoubleClicked();
    f.editor.chooseThumbnail();  // cancelled: nothing changes

    QCOMPARE(f.editor.playlist().ThumbImagesPath, QStringLiteral("/b/"));
    QCOMPARE(f.column(PlaylistEditorModel::ThumbColumn), (QStringList{"one.jpg", "two.jpg"}));
    QCOMPARE(
        f.dialogs.fileRequests.last().title,
        QStringLiteral("Attention: All your images for thumbnails should be from same folder!"));
    QCOMPARE(f.dialogs.fileRequests.last().filter, QStringLiteral("JPEG files (*.jpg)|*.jpg|"));
}

void PlaylistEditorTest::saveAndLoadRoundTrip() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("list.plf"));
    Fixture saved;
    saved.host.html5On = true;
    saved.editor.show();
    saved.fill(3, PlaylistLayout::TitleDescThumb);
    saved.willPick(QStringLiteral("/m/"), {"a.mp4", "b.mp4"});
    saved.editor.addMp4Files();
    for (int r = 1; r <= 3; ++r) {
        saved.editor.setCurrentCell(r, PlaylistEditorModel::ThumbColumn);
        saved.willPick(QStringLiteral("/img/"), {QStringLiteral("t%1.jpg").arg(r)});
        saved.editor.chooseThumbnail();
    }
    saved.editor.selectPosition(PlaylistPosition::Invisible);
    saved.dialogs.saveAnswers.enqueue(path);
    saved.editor.savePlaylist();
    QCOMPARE(saved.dialogs.texts().last(), QStringLiteral("DATA SAVED AS ") + path);
    QCOMPARE(saved.editor.caption(), QStringLiteral("Select Videos & Build Playlist ") + path);
    QCOMPARE(TextFile::readLines(path).size(), 15);

    Fixture loaded;  // HTML5 off in the main window
    loaded.editor.show();
    loaded.dialogs.openAnswers.enqueue(QStringList{path});
    QVERIFY(loaded.editor.loadPlaylist());

    const Playlist& a = saved.editor.playlist();
    const Playlist& b = loaded.editor.playlist();
    QCOMPARE(b.layout, PlaylistLayout::TitleDescThumb);
    QCOMPARE(b.position, PlaylistPosition::Invisible);
    QVERIFY(!loaded.editor.layoutChoiceEnabled());
    QVERIFY(loaded.host.html5On);
    QVERIFY(loaded.editor.mp4FilesEnabled());
    QCOMPARE(b.rows.size(), 3);
    for (int r = 0; r < 3; ++r) {
        QCOMPARE(b.rows[r].FlashFile, a.rows[r].FlashFile);
        QCOMPARE(b.rows[r].Mp4File, a.rows[r].Mp4File);
        QCOMPARE(b.rows[r].Title, a.rows[r].Title);
        QCOMPARE(b.rows[r].Description, a.rows[r].Description);
        QCOMPARE(b.rows[r].Thumbnail, a.rows[r].Thumbnail);
    }
    QCOMPARE(b.ThumbImagesPath, QStringLiteral("/img/"));
    QCOMPARE(b.Mp4VideoFilesPath, QStringLiteral("/m/"));
    QCOMPARE(loaded.dialogs.fileRequests.last().title, QStringLiteral("Load Data Settings"));
    QCOMPARE(loaded.dialogs.fileRequests.last().filter,
             QStringLiteral("Vidlark Playlist File|*.plf"));

    // Saving the loaded file again under its own name works, once the user agrees to replace it.
    loaded.dialogs.saveAnswers.enqueue(path);
    loaded.dialogs.answers.enqueue(Dialogs::Answer::Yes);
    loaded.editor.savePlaylist();
    QCOMPARE(loaded.dialogs.texts().last(), QStringLiteral("DATA SAVED AS ") + path);
}

void PlaylistEditorTest::saveRefusalsWriteNothing() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("list.plf"));
    Fixture f;
    f.editor.show();
    f.dialogs.saveAnswers.enqueue(path);
    f.editor.savePlaylist();  // empty playlist: checkData explains and asks for files
    QCOMPARE(f.dialogs.texts(), QStringList{QStringLiteral("FLV FILES MISSING")});
    QVERIFY(!QFileInfo::exists(path));

    f.fill(2);
    f.willPick(QStringLiteral("/v/"), {QStringLiteral("x.flv"), QStringLiteral("a|b.flv")});
    f.editor.addFlashFiles();  // the question is answered No: Replace
    f.dialogs.messages.clear();
    f.views.log.clear();
    f.dialogs.saveAnswers.enqueue(path);
    f.editor.savePlaylist();
    QCOMPARE(f.dialogs.texts(),
             QStringList{QStringLiteral("PLAYLIST NOT SAVED. THE FLV/MP4 VIDEO FILE OF ROW 2 HOLDS "
                                        "\"|\", WHICH A PLAYLIST FILE CANNOT STORE. PLEASE RENAME "
                                        "OR REPLACE IT AND SAVE AGAIN.")});
    QVERIFY(!QFileInfo::exists(path));
    // The editor points at the cell the message names.
    QCOMPARE(f.editor.currentRow(), 2);
    QCOMPARE(f.editor.currentColumn(), int(PlaylistEditorModel::FlashColumn));
    QCOMPARE(f.views.log, QStringList{QStringLiteral("focus:flxPlayListDetails")});
    QCOMPARE(f.editor.caption(), QStringLiteral("Select Videos & Build Playlist"));
}

void PlaylistEditorTest::loadKeepsPlaylistOnBadFile() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bad.plf"));
    TextFile::writeLines(path, {QStringLiteral("not a playlist")});
    Fixture f;
    f.fill(2);
    f.dialogs.openAnswers.enqueue(QStringList{path});
    QVERIFY(!f.editor.loadPlaylist());
    QCOMPARE(f.dialogs.texts(),
             QStringList{QStringLiteral("ERROR# 13 TYPE MISMATCH. PLEASE CONTACT SUPPORT.")});
    QCOMPARE(f.column(PlaylistEditorModel::FlashColumn), (QStringList{"f1.flv", "f2.flv"}));

    // A file that ends at its header loads as one empty row, so row 1 exists for every command.
    Playlist header;
    header.ThumbImagesPath = QStringLiteral("/img/");
    TextFile::writeLines(path, PlaylistFile::fileLines(header, false).mid(0, 12));
    f.dialogs.openAnswers.enqueue(QStringList{path});
    QVERIFY(f.editor.loadPlaylist());
    QCOMPARE(f.editor.rowCount(), 1);
    QCOMPARE(f.column(PlaylistEditorModel::FlashColumn), QStringList{QString()});
    QCOMPARE(f.editor.playlist().ThumbImagesPath, QStringLiteral("/img/"));
}

void PlaylistEditorTest::clearKeepsFoldersAndReplaces() {
    Fixture f;
    f.fill(3, PlaylistLayout::TitleDesc);
    f.dialogs.answers.enqueue(Dialogs::Answer::Yes);
    f.editor.clearPlaylist();
    f.dialogs.messages.clear();
    QCOMPARE(f.editor.rowCount(), 1);
    QCOMPARE(f.editor.playlist().FLVVideoFilesPath, QStringLiteral("/v/"));
    QCOMPARE(f.editor.playlist().layout, PlaylistLayout::TitleDesc);
    f.addFlash(QStringLiteral("/w/"), {QStringLiteral("a.flv"), QStringLiteral("b.flv")});
    QCOMPARE(f.dialogs.texts(), QStringList());  // row 1 is empty: no question
    QCOMPARE(f.editor.playlist().FLVVideoFilesPath, QStringLiteral("/w/"));
}

void PlaylistEditorTest::copiesFillTheMissingMp4Cells() {
    Fixture f;
    f.host.html5On = true;
    f.editor.show();
    f.fill(3);
    QVERIFY(f.editor.makeMissingCopiesEnabled());

    f.editor.useCopies({{0, QStringLiteral("/v/f1.mp4")}, {2, QStringLiteral("/v/f3.mp4")}},
                       /*webm=*/false);

    QCOMPARE(f.column(PlaylistEditorModel::Mp4Column),
             (QStringList{QStringLiteral("f1.mp4"), QString(), QStringLiteral("f3.mp4")}));
    QCOMPARE(f.editor.playlist().Mp4VideoFilesPath, QStringLiteral("/v/"));
    QVERIFY(f.editor.makeMissingCopiesEnabled());  // the second row still lacks one
    f.host.html5On = false;
    f.editor.show();
    QVERIFY(!f.editor.makeMissingCopiesEnabled());
    f.host.html5On = true;
    f.editor.show();
    f.editor.useCopies({{1, QStringLiteral("/v/f2.mp4")}}, /*webm=*/false);
    QVERIFY(!f.editor.makeMissingCopiesEnabled());
}

namespace {

// Rows f1..f3 of /v/ with Mp4 copies f1.mp4, g2.mp4 and f3.mp4 in /m/, WebM copies f1..f3.webm
// in /w/, and one caption track each.
void fillWithCopiesAndCaptions(Fixture& f, const QString& captions) {
    f.fill(3);
    f.willPick(QStringLiteral("/m/"), {"f1.mp4", "g2.mp4", "f3.mp4"});
    f.editor.addMp4Files();
    f.willPick(QStringLiteral("/w/"), {"f1.webm", "f2.webm", "f3.webm"});
    f.editor.addWebmFiles();
    for (int r = 1; r <= 3; ++r) {
        f.editor.rowMenuAt(r, PlaylistEditorModel::FlashColumn);
        f.dialogs.openAnswers.enqueue(QStringList{captions});
        f.editor.addCaptionsToVideo();
    }
}

}  // namespace

void PlaylistEditorTest::replacedFlashFilesDropWhatBelongsToTheOld_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("mp4After");
    QTest::addColumn<QStringList>("webmAfter");
    QTest::addColumn<QList<int>>("tracksAfter");
    QTest::newRow("the same files again")
        << "/v/" << QStringList{"f1.flv", "f2.flv", "f3.flv"}
        << QStringList{"f1.mp4", "g2.mp4", "f3.mp4"} << QStringList{"f1.webm", "f2.webm", "f3.webm"}
        << QList<int>{1, 1, 1};
    QTest::newRow("other videos in the first two rows")
        << "/v/" << QStringList{"g1.flv", "g2.flv"} << QStringList{"", "g2.mp4", "f3.mp4"}
        << QStringList{"", "", "f3.webm"} << QList<int>{0, 0, 1};
    QTest::newRow("one row changed")
        << "/v/" << QStringList{"f1.flv", "h2.flv", "f3.flv"} << QStringList{"f1.mp4", "", "f3.mp4"}
        << QStringList{"f1.webm", "", "f3.webm"} << QList<int>{1, 0, 1};
    QTest::newRow("the same names in another folder")
        << "/x/" << QStringList{"f1.flv", "f2.flv"} << QStringList{"f1.mp4", "", "f3.mp4"}
        << QStringList{"f1.webm", "f2.webm", "f3.webm"} << QList<int>{0, 0, 1};
}

// Replacing the Flash column gives each row whose Flash file changes a new video: its caption
// tracks go, and so does a copy whose name does not match the new file's. Rows past the
// selection keep everything.
void PlaylistEditorTest::replacedFlashFilesDropWhatBelongsToTheOld() {
    QFETCH(QString, folder);
    QFETCH(QStringList, names);
    QFETCH(QStringList, mp4After);
    QFETCH(QStringList, webmAfter);
    QFETCH(QList<int>, tracksAfter);
    QTemporaryDir dir;
    const QString captions = dir.filePath("c.en.vtt");
    TextFile::writeBytes(captions, "WEBVTT\n\n00:01.000 --> 00:02.000\nHi\n");
    Fixture f;
    fillWithCopiesAndCaptions(f, captions);
    f.dialogs.answers.enqueue(Dialogs::Answer::No);  // replace

    f.addFlash(folder, names);

    QCOMPARE(f.column(PlaylistEditorModel::Mp4Column), mp4After);
    QCOMPARE(f.column(PlaylistEditorModel::WebmColumn), webmAfter);
    QList<int> tracks;
    for (const PlaylistEntry& row : f.editor.playlist().rows)
        tracks.append(int(row.Captions.size()));
    QCOMPARE(tracks, tracksAfter);
    QCOMPARE(f.editor.playlist().Mp4VideoFilesPath, QStringLiteral("/m/"));
}

void PlaylistEditorTest::clearAsksWhenTheGridHoldsAnything_data() {
    QTest::addColumn<int>("column");  // the one cell filled; -1: none
    QTest::addColumn<bool>("asked");
    QTest::addColumn<Dialogs::Answer>("answer");
    QTest::addColumn<bool>("cleared");
    using A = Dialogs::Answer;
    QTest::newRow("empty grid") << -1 << false << A::No << true;
    QTest::newRow("a Flash file, Yes")
        << int(PlaylistEditorModel::FlashColumn) << true << A::Yes << true;
    QTest::newRow("a Flash file, No")
        << int(PlaylistEditorModel::FlashColumn) << true << A::No << false;
    QTest::newRow("an Mp4 file only, No")
        << int(PlaylistEditorModel::Mp4Column) << true << A::No << false;
    QTest::newRow("a title only, No")
        << int(PlaylistEditorModel::TitleColumn) << true << A::No << false;
    QTest::newRow("a title only, Yes")
        << int(PlaylistEditorModel::TitleColumn) << true << A::Yes << true;
}

void PlaylistEditorTest::clearAsksWhenTheGridHoldsAnything() {
    QFETCH(int, column);
    QFETCH(bool, asked);
    QFETCH(Dialogs::Answer, answer);
    QFETCH(bool, cleared);
    Fixture f;
    f.host.html5On = true;
    f.editor.show();
    if (column == PlaylistEditorModel::TitleColumn)
        f.editor.setCellText(1, column, QStringLiteral("Intro"));
    else if (column >= 0)
        f.willPick(QStringLiteral("/v/"), {"a.mp4", "b.mp4"});
    if (column == PlaylistEditorModel::FlashColumn)
        f.editor.addFlashFiles();
    else if (column == PlaylistEditorModel::Mp4Column)
        f.editor.addMp4Files();
    QStringList before;
    for (int c = 0; c < f.editor.columnCount(); ++c)
        before.append(f.editor.cellText(1, c));
    const int rowsBefore = f.editor.rowCount();
    f.dialogs.answers.enqueue(answer);

    f.editor.clearPlaylist();

    QCOMPARE(f.dialogs.texts(),
             asked ? QStringList{"DO YOU WANT TO CLEAR THE WHOLE PLAYLIST?"} : QStringList());
    if (asked)
        QCOMPARE(f.dialogs.messages[0].buttons, Dialogs::Buttons::YesNo);
    QCOMPARE(f.editor.rowCount(), cleared ? 1 : rowsBefore);
    for (int c = 0; c < f.editor.columnCount(); ++c)
        QCOMPARE(f.editor.cellText(1, c), cleared ? QString() : before[c]);
}

void PlaylistEditorTest::escapeGivesTheCellItsTextBack_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("typed");
    QTest::newRow("title") << int(PlaylistEditorModel::TitleColumn) << "T2"
                           << "Typed";
    QTest::newRow("emptied title") << int(PlaylistEditorModel::TitleColumn) << "T2"
                                   << "";
    QTest::newRow("description") << int(PlaylistEditorModel::DescColumn) << "D2"
                                 << "Other";
    QTest::newRow("nothing typed") << int(PlaylistEditorModel::DescColumn) << "D2"
                                   << "D2";
}

// Escape ends the edit of the current cell only: the cell holds what it held when it was entered,
// and the box leaves it. Cells edited before keep what was typed into them.
void PlaylistEditorTest::escapeGivesTheCellItsTextBack() {
    QFETCH(int, column);
    QFETCH(QString, before);
    QFETCH(QString, typed);
    Fixture f;
    f.fill(3, PlaylistLayout::TitleDesc);
    f.editor.setCurrentCell(1, column);
    f.editor.setCurrentCellText(QStringLiteral("Kept"));
    f.editor.pressKey(PlaylistEditorModel::Key::Down);
    f.editor.setCurrentCellText(QStringLiteral("Half"));
    f.editor.setCurrentCellText(typed);

    f.editor.cancelCellEdit();

    QCOMPARE(f.editor.cellText(2, column), before);
    QCOMPARE(f.editor.cellText(1, column), QStringLiteral("Kept"));
    QVERIFY(!f.editor.editBoxVisible());
    QCOMPARE(f.editor.currentRow(), 2);
    QCOMPARE(f.editor.currentColumn(), column);
    QVERIFY(f.views.log.isEmpty());
}

void PlaylistEditorTest::rowMenuOpensNoEditor_data() {
    QTest::addColumn<int>("fromColumn");
    QTest::addColumn<int>("column");
    using E = PlaylistEditorModel;
    QTest::newRow("from a title, on a Flash file") << int(E::TitleColumn) << int(E::FlashColumn);
    QTest::newRow("from a description, on an Mp4 file") << int(E::DescColumn) << int(E::Mp4Column);
    QTest::newRow("from a thumbnail, on a WebM file") << int(E::ThumbColumn) << int(E::WebmColumn);
    QTest::newRow("from a Flash file") << int(E::FlashColumn) << int(E::Mp4Column);
}

// The right button makes the clicked file cell of the row current: no edit box or thumbnail
// button opens in another column of that row.
void PlaylistEditorTest::rowMenuOpensNoEditor() {
    QFETCH(int, fromColumn);
    QFETCH(int, column);
    Fixture f;
    f.fill(3, PlaylistLayout::TitleDescThumb);
    f.editor.setCurrentCell(1, fromColumn);

    QVERIFY(f.editor.rowMenuAt(2, column));

    QCOMPARE(f.editor.currentRow(), 2);
    QCOMPARE(f.editor.currentColumn(), column);
    QVERIFY(!f.editor.editBoxVisible());
    QVERIFY(!f.editor.thumbButtonVisible());
}

void PlaylistEditorTest::gridMarksRowsWithCaptions_data() {
    QTest::addColumn<int>("tracks");
    QTest::addColumn<QString>("flashCell");
    QTest::addColumn<QString>("toolTip");
    QTest::newRow("none") << 0 << "f2.flv"
                          << "";
    QTest::newRow("one") << 1 << "[CC] f2.flv"
                         << "Caption tracks of f2.flv: f2.en.vtt (en)";
    QTest::newRow("two") << 2 << "[CC 2] f2.flv"
                         << "Caption tracks of f2.flv: f2.en.vtt (en), f2.vtt";
}

// The grid tells which rows have caption tracks, on the Flash cell; the row's file name and the
// playlist file stay as they are.
void PlaylistEditorTest::gridMarksRowsWithCaptions() {
    QFETCH(int, tracks);
    QFETCH(QString, flashCell);
    QFETCH(QString, toolTip);
    QTemporaryDir dir;
    const QStringList files{dir.filePath("f2.en.vtt"), dir.filePath("f2.vtt")};
    for (const QString& file : files)
        TextFile::writeBytes(file, "WEBVTT\n\n00:01.000 --> 00:02.000\nHi\n");
    Fixture f;
    f.fill(3);
    f.editor.rowMenuAt(2, PlaylistEditorModel::FlashColumn);
    if (tracks > 0) {
        f.dialogs.openAnswers.enqueue(files.mid(0, tracks));
        f.editor.addCaptionsToVideo();
    }

    QCOMPARE(f.editor.gridText(2, PlaylistEditorModel::FlashColumn), flashCell);
    QCOMPARE(f.editor.captionsToolTip(2), toolTip);
    QCOMPARE(f.editor.cellText(2, PlaylistEditorModel::FlashColumn), QStringLiteral("f2.flv"));
    for (int r : {1, 3}) {
        QCOMPARE(f.editor.gridText(r, PlaylistEditorModel::FlashColumn),
                 QStringLiteral("f%1.flv").arg(r));
        QCOMPARE(f.editor.captionsToolTip(r), QString());
    }
    QCOMPARE(f.editor.gridText(2, PlaylistEditorModel::TitleColumn), QStringLiteral("T2"));
    QCOMPARE(f.editor.gridText(0, PlaylistEditorModel::FlashColumn),
             PlaylistEditorModel::headerText(0));
}

QTEST_GUILESS_MAIN(PlaylistEditorTest)
#include "tst_PlaylistEditorModel.moc"

void PlaylistEditorTest::addStartsAtFirstEmptyCell() {
    Fixture f;
    f.fill(4);
    f.willPick(QStringLiteral("/m/"), {QStringLiteral("a.mp4"), QStringLiteral("b.mp4")});
    f.editor.addMp4Files();
    f.dialogs.answers.enqueue(Dialogs::Answer::Yes);
    f.willPick(QStringLiteral("/m/"), {QStringLiteral("c.mp4")});
    f.editor.addMp4Files();
    QCOMPARE(f.column(PlaylistEditorModel::Mp4Column),
             (QStringList{"a.mp4", "b.mp4", "c.mp4", ""}));

    // An empty cell in row 2 does not take the next file: a new row is appended for it.
    QVERIFY(f.editor.rowMenuAt(4, PlaylistEditorModel::FlashColumn));
    f.editor.moveVideoUp();
    QVERIFY(f.editor.rowMenuAt(3, PlaylistEditorModel::FlashColumn));
    f.editor.moveVideoUp();
    f.dialogs.answers.enqueue(Dialogs::Answer::Yes);
    f.willPick(QStringLiteral("/m/"), {QStringLiteral("d.mp4")});
    f.editor.addMp4Files();
    QCOMPARE(f.column(PlaylistEditorModel::Mp4Column),
             (QStringList{"a.mp4", "", "b.mp4", "c.mp4", "d.mp4"}));
}
