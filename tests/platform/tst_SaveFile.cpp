#include <QTemporaryDir>
#include <QtTest>

#include "FakeDialogs.h"
#include "platform/TextFile.h"

// Saving asks for a name: the name gets the suffix its filter names, so the file shows up when
// the same filter opens it again, and an existing file under the final name is replaced only
// when the user says so.
class SaveFileTest : public QObject {
    Q_OBJECT

  private slots:
    void finalName_data();
    void finalName();
};

namespace {

const QString kProfiles = QStringLiteral("Vidlark Profile File|*.epe");

}  // namespace

void SaveFileTest::finalName_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("typed");     // the chooser's answers in turn; "" cancels
    QTest::addColumn<QStringList>("existing");  // files already in the folder
    QTest::addColumn<QList<bool>>("replace");   // the answers to "replace it?" in turn
    QTest::addColumn<QString>("saved");         // "" for no file
    QTest::addColumn<QStringList>("asked");     // the files the user was asked about

    using Yes = QList<bool>;
    QTest::newRow("no suffix typed") << kProfiles << QStringList{"prof1"} << QStringList{} << Yes{}
                                     << "prof1.epe" << QStringList{};
    QTest::newRow("suffix typed") << kProfiles << QStringList{"prof1.epe"} << QStringList{} << Yes{}
                                  << "prof1.epe" << QStringList{};
    QTest::newRow("suffix in capitals") << kProfiles << QStringList{"PROF1.EPE"} << QStringList{}
                                        << Yes{} << "PROF1.EPE" << QStringList{};
    QTest::newRow("another suffix") << kProfiles << QStringList{"prof1.txt"} << QStringList{}
                                    << Yes{} << "prof1.txt.epe" << QStringList{};
    QTest::newRow("ending in a dot") << kProfiles << QStringList{"prof1."} << QStringList{} << Yes{}
                                     << "prof1.epe" << QStringList{};
    QTest::newRow("playlist") << "Vidlark Playlist File|*.plf" << QStringList{"list"}
                              << QStringList{} << Yes{} << "list.plf" << QStringList{};
    QTest::newRow("second pattern kept, first appended")
        << "Mp4 Video|*.mp4;*.m4v" << QStringList{"a.m4v"} << QStringList{} << Yes{} << "a.m4v"
        << QStringList{};
    QTest::newRow("any file") << "All files|*.*" << QStringList{"notes"} << QStringList{} << Yes{}
                              << "notes" << QStringList{};
    QTest::newRow("cancelled") << kProfiles << QStringList{""} << QStringList{} << Yes{} << ""
                               << QStringList{};

    // The question is about the file that would be replaced, not the name as typed.
    QTest::newRow("file with the suffix exists, replaced")
        << kProfiles << QStringList{"prof1"} << QStringList{"prof1.epe"} << Yes{true} << "prof1.epe"
        << QStringList{"prof1.epe"};
    QTest::newRow("file with the suffix exists, kept: asked again")
        << kProfiles << QStringList{"prof1", "prof2"} << QStringList{"prof1.epe"} << Yes{false}
        << "prof2.epe" << QStringList{"prof1.epe"};
    QTest::newRow("kept, then cancelled")
        << kProfiles << QStringList{"prof1", ""} << QStringList{"prof1.epe"} << Yes{false} << ""
        << QStringList{"prof1.epe"};
    QTest::newRow("typed name exists, final name does not")
        << kProfiles << QStringList{"prof1"} << QStringList{"prof1"} << Yes{} << "prof1.epe"
        << QStringList{};
    QTest::newRow("typed with suffix, exists")
        << kProfiles << QStringList{"prof1.epe"} << QStringList{"prof1.epe"} << Yes{true}
        << "prof1.epe" << QStringList{"prof1.epe"};
}

void SaveFileTest::finalName() {
    QFETCH(QString, filter);
    QFETCH(QStringList, typed);
    QFETCH(QStringList, existing);
    QFETCH(QList<bool>, replace);
    QFETCH(QString, saved);
    QFETCH(QStringList, asked);
    QTemporaryDir dir;
    for (const QString& name : existing)
        TextFile::writeBytes(dir.filePath(name), "old");
    FakeDialogs dialogs;
    for (const QString& name : typed)
        dialogs.saveAnswers.enqueue(name.isEmpty() ? std::nullopt
                                                   : std::optional<QString>(dir.filePath(name)));
    for (bool yes : replace)
        dialogs.answers.enqueue(yes ? Dialogs::Answer::Yes : Dialogs::Answer::No);

    const std::optional<QString> path = dialogs.saveFile({QStringLiteral("Save"), filter});

    QCOMPARE(path.value_or(QString()), saved.isEmpty() ? QString() : dir.filePath(saved));
    QStringList questions;
    for (const FakeDialogs::Shown& shown : dialogs.messages) {
        QCOMPARE(shown.buttons, Dialogs::Buttons::YesNo);
        questions.append(shown.text);
    }
    QStringList expected;
    for (const QString& name : asked)
        expected.append("THE FILE " + dir.filePath(name) +
                        " ALREADY EXISTS. DO YOU WANT TO REPLACE IT?");
    QCOMPARE(questions, expected);
    QVERIFY(dialogs.saveAnswers.isEmpty());
    for (const QString& name : existing)  // asking writes nothing
        QCOMPARE(TextFile::readBytes(dir.filePath(name)), QByteArray("old"));
}

QTEST_GUILESS_MAIN(SaveFileTest)
#include "tst_SaveFile.moc"
