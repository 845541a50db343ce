#include <QTemporaryDir>
#include <QtTest>

#include "TestFiles.h"
#include "media/PlaylistFile.h"
#include "platform/AppError.h"
#include "platform/Cp1252.h"
#include "platform/Scrambler.h"
#include "platform/TextFile.h"

namespace {

PlaylistEntry entry(const QString& flash, const QString& mp4, const QString& webm,
                    const QString& title) {
    return {flash, mp4, webm, title, {}, {}};
}

Playlist threeRows() {
    Playlist p;
    p.rows = {entry("a.flv", "a.mp4", "", "First clip"),
              entry("b.flv", "b.mp4", "b.webm", "Second clip"),
              entry("c.flv", "", "", "Third & last")};
    p.FLVVideoFilesPath = QStringLiteral("C:\\Videos\\Caf\u00e9\\");
    p.Mp4VideoFilesPath = QStringLiteral("C:\\Videos\\Mp4\\");
    return p;
}

// A character that the key character at its position shifts onto CR.
QChar crAfterShift(QChar keyChar) {
    return QChar(Cp1252::decodeByte(static_cast<unsigned char>(13 - keyChar.unicode())));
}

QString scrambled(const QString& text) {
    return Scrambler::scramble(text, Scrambler::kScrambleKey);
}

// A file of lines 1 to 11 for TitleDesc at Bottom with HTML5 on, then the given header and
// plain row lines.
QStringList fileWith(const QString& header, const QStringList& rows) {
    QStringList lines;
    for (const char* value :
         {"False", "True", "False", "False", "True", "False", "1", "/v/", "", "", ""})
        lines.append(scrambled(QString::fromLatin1(value)));
    lines.append(header);
    for (const QString& row : rows)
        lines.append(scrambled(row));
    return lines;
}

// The file fields of a row, by their place in the row line, with the names messages give them.
struct FileField {
    int index;
    const char* name;
};
const FileField kFileFields[] = {{0, "FLV/MP4 VIDEO FILE"},
                                 {1, "MP4 VIDEO FILE"},
                                 {2, "WEBM VIDEO FILE"},
                                 {5, "THUMBNAIL IMAGE"}};

// Names that would lead a generation run out of the folders it was given, with what the message
// says of each.
struct BadName {
    const char* label;
    QString name;
    QString fault;
};
QList<BadName> badNames() {
    const QString separator = QStringLiteral("IT HOLDS A FOLDER SEPARATOR");
    return {{"parent folder", QStringLiteral("../escaped.x"), separator},
            {"two folders up", QStringLiteral("../../notes.jpg"), separator},
            {"backslash", QStringLiteral("..\\escaped.x"), separator},
            {"absolute path", QStringLiteral("/tmp/abs.x"), separator},
            {"dot dot", QStringLiteral(".."), QStringLiteral("IT STANDS FOR A FOLDER (\"..\")")},
            {"dot", QStringLiteral("."), QStringLiteral("IT STANDS FOR A FOLDER (\".\")")},
            {"nul", QStringLiteral("a") + QChar(0) + QStringLiteral(".x"),
             QStringLiteral("IT HOLDS A CONTROL CHARACTER (CODE 0)")},
            {"line feed", QStringLiteral("a\n.x"),
             QStringLiteral("IT HOLDS A CONTROL CHARACTER (CODE 10)")},
            {"delete", QStringLiteral("a\x7f.x"),
             QStringLiteral("IT HOLDS A CONTROL CHARACTER (CODE 127)")}};
}

// The plain row line of row 2 in a six-column file, with `value` in field `index`.
QString rowWith(int index, const QString& value) {
    QStringList fields{"b.flv", "b.mp4", "b.webm", "B", "Db", "b.jpg"};
    fields[index] = value;
    return fields.join(QLatin1Char('|'));
}

Playlist thumbnailRows() {
    Playlist p;
    p.layout = PlaylistLayout::TitleDescThumb;
    p.rows = {{"a.flv", "a.mp4", "a.webm", "A", "Da", "a.jpg"},
              {"b.flv", "b.mp4", "b.webm", "B", "Db", "b.jpg"}};
    return p;
}

// Control characters a single-line value cannot hold, with how a message shows each.
struct BadCharacter {
    const char* label;
    QChar character;
    int code;
};
const BadCharacter kBadCharacters[] = {
    {"nul", QChar(0x00), 0},        {"tab", QChar(0x09), 9},
    {"line feed", QChar(0x0A), 10}, {"unit separator", QChar(0x1F), 31},
    {"delete", QChar(0x7F), 127},   {"c1 control", QChar(0x81), 129}};

// Single-line values of a playlist file, by line (8 to 11) or row field (from the row line), with
// the words a message names them by.
struct TextValue {
    int line;   // 0 for a row field
    int field;  // index in the row line
    const char* name;
};
const TextValue kTextValues[] = {{8, 0, "FLV/MP4 FILES FOLDER"},
                                 {11, 0, "THUMBNAIL IMAGES FOLDER"},
                                 {0, 3, "TITLE OF ROW 2"},
                                 {0, 4, "DESCRIPTION OF ROW 2"}};

}  // namespace

class PlaylistFileTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { QVERIFY(m_dir.isValid()); }
    void threeRowsMatchGolden();
    void captionsMatchGoldenAndRoundTrip();
    void captionFields_data();
    void captionFields();
    void refusedPlaylists_data();
    void refusedPlaylists();
    void parsesRows_data();
    void parsesRows();
    void badFilesAreReported_data();
    void badFilesAreReported();
    void missingFileIsError53();
    void refusesNamesOnSave_data();
    void refusesNamesOnSave();
    void refusesNamesOnLoad_data();
    void refusesNamesOnLoad();
    void plainNamesRoundTrip();
    void refusesControlCharactersOnSave_data();
    void refusesControlCharactersOnSave();
    void refusesControlCharactersOnLoad_data();
    void refusesControlCharactersOnLoad();

  private:
    QTemporaryDir m_dir;
};

void PlaylistFileTest::threeRowsMatchGolden() {
    const QString path = m_dir.filePath(QStringLiteral("three.plf"));
    PlaylistFile::write(path, threeRows(), false);

    const QStringList stored = TextFile::readLines(path);
    QCOMPARE(stored.size(), 15);
    QCOMPARE(stored[11], QStringLiteral("4|4"));  // the header is the one plain line
    QStringList plain;
    for (qsizetype i = 0; i < stored.size(); ++i)
        plain.append(i == 11 ? stored[i]
                             : Scrambler::unscramble(stored[i], Scrambler::kScrambleKey));
    COMPARE_GOLDEN(TextFile::encodeLines(plain), "media/playlist_three_rows_plain.txt");
    // Every other line really is scrambled, not stored as typed.
    QCOMPARE(stored[0], scrambled(QStringLiteral("True")));
    QVERIFY(stored[12] != plain[12]);
}

// Only the row with captions grows, by fields an older version drops; the others keep their line.
void PlaylistFileTest::captionsMatchGoldenAndRoundTrip() {
    const QString path = m_dir.filePath(QStringLiteral("captions.plf"));
    Playlist playlist = threeRows();
    playlist.rows[1].Captions = {{"/subs/b.en.vtt", "en", "English | SDH"},
                                 {"/subs/b 100%.srt", "fr", ""}};
    PlaylistFile::write(path, playlist, false);

    const QStringList stored = TextFile::readLines(path);
    QStringList plain;
    for (qsizetype i = 0; i < stored.size(); ++i)
        plain.append(i == 11 ? stored[i]
                             : Scrambler::unscramble(stored[i], Scrambler::kScrambleKey));
    COMPARE_GOLDEN(TextFile::encodeLines(plain), "media/playlist_captions_plain.txt");
    const PlaylistFile::Contents read = PlaylistFile::read(path);
    QCOMPARE(read.rows.size(), 3);
    QCOMPARE(read.rows[1].Captions, playlist.rows[1].Captions);
    QCOMPARE(read.rows[1].Title, QStringLiteral("Second clip"));
    QVERIFY(read.rows[0].Captions.isEmpty());
}

void PlaylistFileTest::captionFields_data() {
    QTest::addColumn<QString>("row");
    QTest::addColumn<int>("tracks");
    QTest::addColumn<QString>("firstLabel");
    QTest::newRow("one track") << "a.flv|||A|D|#captions|/s/a.vtt|en|E %25 %7c" << 1 << "E % |";
    QTest::newRow("two tracks") << "a.flv|||A|D|#captions|/s/a.vtt||L|/s/b.vtt|de|" << 2 << "L";
    QTest::newRow("extra fields without the marker") << "a.flv|||A|D|/s/a.vtt|en|E" << 0 << "";
    QTest::newRow("marker with a broken track") << "a.flv|||A|D|#captions|/s/a.vtt|en" << 0 << "";
    QTest::newRow("marker in a layout field is a description")
        << "a.flv|||A|#captions|/s/a.vtt|en|E" << 0 << "";
}

// Captions are read only from whole tracks behind the marker; other extra fields are dropped as
// they always were.
void PlaylistFileTest::captionFields() {
    QFETCH(QString, row);
    QFETCH(int, tracks);
    QFETCH(QString, firstLabel);
    const PlaylistFile::Contents c = PlaylistFile::parse(fileWith("2|5", {row}));
    QCOMPARE(c.rows.size(), 1);
    QCOMPARE(c.rows[0].Title, QStringLiteral("A"));
    QCOMPARE(c.rows[0].Captions.size(), tracks);
    if (tracks > 0)
        QCOMPARE(c.rows[0].Captions[0].label, firstLabel);
}

void PlaylistFileTest::refusedPlaylists_data() {
    QTest::addColumn<Playlist>("playlist");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("row");  // the cell the editor points at; row 0 for none
    QTest::addColumn<int>("column");

    Playlist pipeInFile = threeRows();
    pipeInFile.rows[1].Mp4File = QStringLiteral("b|c.mp4");
    QTest::newRow("| in a file name")
        << pipeInFile
        << "PLAYLIST NOT SAVED. THE MP4 VIDEO FILE OF ROW 2 HOLDS \"|\", WHICH A PLAYLIST FILE "
           "CANNOT STORE. PLEASE RENAME OR REPLACE IT AND SAVE AGAIN."
        << 2 << 1;

    // Line 8 starts with the second key character, "o".
    Playlist crInFolder = threeRows();
    crInFolder.FLVVideoFilesPath = crAfterShift(QLatin1Char('o')) + QStringLiteral("x\\");
    QTest::newRow("folder scrambles to CR")
        << crInFolder
        << QStringLiteral("PLAYLIST NOT SAVED. CHARACTER 1 (\"") + crAfterShift(QLatin1Char('o')) +
               "\") OF THE FLV/MP4 FILES FOLDER CANNOT BE STORED IN A PLAYLIST FILE. PLEASE "
               "REPLACE IT AND SAVE AGAIN."
        << 0 << 0;

    // Row 3's line "c.flv|||T..." puts the title's first character at position 9, key "s".
    Playlist crInTitle = threeRows();
    crInTitle.rows[2].Title = crAfterShift(QLatin1Char('s')) + QStringLiteral("itle");
    QTest::newRow("title scrambles to CR")
        << crInTitle
        << QStringLiteral("PLAYLIST NOT SAVED. CHARACTER 1 (\"") + crAfterShift(QLatin1Char('s')) +
               "\") OF THE TITLE OF ROW 3 CANNOT BE STORED IN A PLAYLIST FILE. PLEASE REPLACE IT "
               "AND SAVE "
               "AGAIN."
        << 3 << 3;

    Playlist foreignTitle = threeRows();
    foreignTitle.rows[1].Title = QString::fromUtf8("Über Москва");
    QTest::newRow("title outside the character set")
        << foreignTitle
        << QString::fromUtf8(
               "PLAYLIST NOT SAVED. CHARACTER 6 (\"М\") OF THE TITLE OF ROW 2 CANNOT BE STORED "
               "IN A PLAYLIST FILE. PLEASE REPLACE IT AND SAVE AGAIN.")
        << 2 << 3;

    Playlist controlInDescription = thumbnailRows();
    controlInDescription.rows[1].Description = QStringLiteral("a\tb");
    QTest::newRow("control code in a description")
        << controlInDescription
        << "PLAYLIST NOT SAVED. CHARACTER 2 (CONTROL CODE 9) OF THE DESCRIPTION OF ROW 2 CANNOT "
           "BE STORED IN A PLAYLIST FILE. PLEASE REMOVE IT AND SAVE AGAIN."
        << 2 << 4;
}

void PlaylistFileTest::refusedPlaylists() {
    QFETCH(Playlist, playlist);
    QFETCH(QString, message);
    QFETCH(int, row);
    QFETCH(int, column);
    const QString path = m_dir.filePath(QStringLiteral("kept.plf"));
    TextFile::writeLines(path, {QStringLiteral("old")});

    try {
        PlaylistFile::write(path, playlist, false);
        QFAIL("the playlist was saved");
    } catch (const PlaylistFileError& error) {
        QCOMPARE(error.message(), message);
        QCOMPARE(error.row(), row);
        if (row > 0)
            QCOMPARE(error.column(), column);
    }
    QCOMPARE(TextFile::readLines(path), QStringList{QStringLiteral("old")});
}

void PlaylistFileTest::parsesRows_data() {
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<QStringList>("descriptions");

    QTest::newRow("two rows") << fileWith("3|5", {"a.flv|||A|Da", "b.flv|||B|Db"})
                              << QStringList{"A", "B"} << QStringList{"Da", "Db"};
    QTest::newRow("row count claims 99") << fileWith("99|5", {"a.flv|||A|Da", "b.flv|||B|Db"})
                                         << QStringList{"A", "B"} << QStringList{"Da", "Db"};
    QTest::newRow("extra fields are ignored")
        << fileWith("2|5", {"a.flv|||A|Da|t.jpg|more"}) << QStringList{"A"} << QStringList{"Da"};
    QTest::newRow("no row lines") << fileWith("1|5", {}) << QStringList{""} << QStringList{""};
    QTest::newRow("file ends before the header")
        << fileWith("1|5", {}).mid(0, 9) << QStringList{""} << QStringList{""};
    QTest::newRow("negative row count reads no row")
        << fileWith("-1|5", {"a.flv|||A|Da"}) << QStringList{""} << QStringList{""};
    QTest::newRow("unknown column count leaves rows empty")
        << fileWith("3|7", {"a.flv|||A|Da", "b.flv|||B|Db"}) << QStringList{"", ""}
        << QStringList{"", ""};
}

void PlaylistFileTest::parsesRows() {
    QFETCH(QStringList, lines);
    QFETCH(QStringList, titles);
    QFETCH(QStringList, descriptions);

    const PlaylistFile::Contents c = PlaylistFile::parse(lines);

    QCOMPARE(c.rows.size(), titles.size());
    for (qsizetype i = 0; i < titles.size(); ++i) {
        QCOMPARE(c.rows[i].Title, titles[i]);
        QCOMPARE(c.rows[i].Description, descriptions[i]);
    }
    QCOMPARE(c.position, std::optional(PlaylistPosition::Bottom));
    if (lines.size() >= 7)
        QVERIFY(c.html5Files);
}

void PlaylistFileTest::badFilesAreReported_data() {
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("errorNumber");  // 0: a clear message rather than an error number

    QStringList notAPlaylist = fileWith("2|4", {"a.flv|||A"});
    notAPlaylist[0] = QStringLiteral("[profile]");
    QTest::newRow("line 1 is not a truth value") << notAPlaylist << 13;
    QTest::newRow("header without |") << fileWith("3", {"a.flv|||A"}) << 9;
    QTest::newRow("row count not a number") << fileWith("x|4", {"a.flv|||A"}) << 13;
    QTest::newRow("row with fewer fields") << fileWith("3|5", {"a.flv|||A|Da", "b.flv|||B"}) << 0;
}

void PlaylistFileTest::badFilesAreReported() {
    QFETCH(QStringList, lines);
    QFETCH(int, errorNumber);
    try {
        PlaylistFile::parse(lines);
        QFAIL("the file was accepted");
    } catch (const AppError& error) {
        QCOMPARE(error.number(), errorNumber);
    } catch (const PlaylistFileError& error) {
        QCOMPARE(0, errorNumber);
        QCOMPARE(error.message(),
                 QStringLiteral("PLAYLIST NOT LOADED. ROW 2 OF THE FILE HAS 4 FIELDS WHERE THE "
                                "FILE PROMISES 5."));
    }
}

void PlaylistFileTest::missingFileIsError53() {
    try {
        PlaylistFile::read(m_dir.filePath(QStringLiteral("none.plf")));
        QFAIL("a missing file was read");
    } catch (const AppError& error) {
        QCOMPARE(error.number(), 53);
    }
}

void PlaylistFileTest::refusesNamesOnSave_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    for (const FileField& field : kFileFields)
        for (const BadName& bad : badNames())
            QTest::addRow("%s, %s", field.name, bad.label)
                << field.index << bad.name
                << QStringLiteral(
                       "PLAYLIST NOT SAVED. THE %1 OF ROW 2 IS NOT A PLAIN FILE NAME: "
                       "%2. PLEASE REPLACE IT AND SAVE AGAIN.")
                       .arg(QString::fromLatin1(field.name), bad.fault);
}

void PlaylistFileTest::refusesNamesOnSave() {
    QFETCH(int, field);
    QFETCH(QString, name);
    QFETCH(QString, message);
    Playlist playlist = thumbnailRows();
    QString PlaylistEntry::*const fields[] = {
        &PlaylistEntry::FlashFile, &PlaylistEntry::Mp4File,     &PlaylistEntry::WebmFile,
        &PlaylistEntry::Title,     &PlaylistEntry::Description, &PlaylistEntry::Thumbnail};
    playlist.rows[1].*fields[field] = name;
    const QString path = m_dir.filePath(QStringLiteral("kept.plf"));
    TextFile::writeLines(path, {QStringLiteral("old")});

    try {
        PlaylistFile::write(path, playlist, true);
        QFAIL("the playlist was saved");
    } catch (const PlaylistFileError& error) {
        QCOMPARE(error.message(), message);
        QCOMPARE(error.row(), 2);
        QCOMPARE(error.column(), field);
    }
    QCOMPARE(TextFile::readLines(path), QStringList{QStringLiteral("old")});
}

void PlaylistFileTest::refusesNamesOnLoad_data() {
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("message");
    for (const FileField& field : kFileFields)
        for (const BadName& bad : badNames())
            QTest::addRow("%s, %s", field.name, bad.label)
                << fileWith("3|6", {rowWith(0, "a.flv"), rowWith(field.index, bad.name)})
                << QStringLiteral(
                       "PLAYLIST NOT LOADED. THE %1 OF ROW 2 IS NOT A PLAIN FILE NAME: %2.")
                       .arg(QString::fromLatin1(field.name), bad.fault);
}

void PlaylistFileTest::refusesNamesOnLoad() {
    QFETCH(QStringList, lines);
    QFETCH(QString, message);
    try {
        PlaylistFile::parse(lines);
        QFAIL("the file was accepted");
    } catch (const PlaylistFileError& error) {
        QCOMPARE(error.message(), message);
    }
}

// Dots and blanks inside a name are ordinary: only the name as a whole can stand for a folder.
void PlaylistFileTest::plainNamesRoundTrip() {
    Playlist playlist = thumbnailRows();
    playlist.rows[0] = {"clip..flv", "...", ".mp4", "A", "Da", "a b.jpg"};
    playlist.rows[1] = {"..clip.flv", "b.mp4.", "b.webm", "B", "Db", "~b.jpg"};
    const QString path = m_dir.filePath(QStringLiteral("dots.plf"));
    PlaylistFile::write(path, playlist, true);

    const PlaylistFile::Contents c = PlaylistFile::read(path);
    QCOMPARE(c.rows.size(), 2);
    for (int r = 0; r < 2; ++r) {
        QCOMPARE(c.rows[r].FlashFile, playlist.rows[r].FlashFile);
        QCOMPARE(c.rows[r].Mp4File, playlist.rows[r].Mp4File);
        QCOMPARE(c.rows[r].Thumbnail, playlist.rows[r].Thumbnail);
    }
}

void PlaylistFileTest::refusesControlCharactersOnSave_data() {
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("message");
    for (const TextValue& target : kTextValues)
        for (const BadCharacter& bad : kBadCharacters)
            QTest::addRow("%s, %s", target.name, bad.label)
                << target.line << target.field << QStringLiteral("ab") + bad.character
                << QStringLiteral(
                       "PLAYLIST NOT SAVED. CHARACTER 3 (CONTROL CODE %1) OF THE %2 "
                       "CANNOT BE STORED IN A PLAYLIST FILE. PLEASE REMOVE IT AND SAVE "
                       "AGAIN.")
                       .arg(bad.code)
                       .arg(QString::fromLatin1(target.name));
}

void PlaylistFileTest::refusesControlCharactersOnSave() {
    QFETCH(int, line);
    QFETCH(int, field);
    QFETCH(QString, value);
    QFETCH(QString, message);
    Playlist playlist = thumbnailRows();
    if (line == 8)
        playlist.FLVVideoFilesPath = value;
    else if (line == 11)
        playlist.ThumbImagesPath = value;
    else if (field == 3)
        playlist.rows[1].Title = value;
    else
        playlist.rows[1].Description = value;
    const QString path = m_dir.filePath(QStringLiteral("kept.plf"));
    TextFile::writeLines(path, {QStringLiteral("old")});

    try {
        PlaylistFile::write(path, playlist, true);
        QFAIL("the playlist was saved");
    } catch (const PlaylistFileError& error) {
        QCOMPARE(error.message(), message);
    }
    QCOMPARE(TextFile::readLines(path), QStringList{QStringLiteral("old")});
}

void PlaylistFileTest::refusesControlCharactersOnLoad_data() {
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("message");
    for (const TextValue& target : kTextValues)
        for (const BadCharacter& bad : kBadCharacters) {
            const QString value = QStringLiteral("ab") + bad.character;
            QStringList lines =
                fileWith("3|6", {rowWith(0, "a.flv"),
                                 target.line ? rowWith(0, "b.flv") : rowWith(target.field, value)});
            if (target.line)
                lines[target.line - 1] = scrambled(value);
            QTest::addRow("%s, %s", target.name, bad.label)
                << lines
                << QStringLiteral(
                       "PLAYLIST NOT LOADED. CHARACTER 3 (CONTROL CODE %1) OF THE %2 "
                       "IS NOT ALLOWED IN A PLAYLIST FILE.")
                       .arg(bad.code)
                       .arg(QString::fromLatin1(target.name));
        }
}

void PlaylistFileTest::refusesControlCharactersOnLoad() {
    QFETCH(QStringList, lines);
    QFETCH(QString, message);
    try {
        PlaylistFile::parse(lines);
        QFAIL("the file was accepted");
    } catch (const PlaylistFileError& error) {
        QCOMPARE(error.message(), message);
    }
}

QTEST_GUILESS_MAIN(PlaylistFileTest)
#include "tst_PlaylistFile.moc"
