#include <QtTest>
#include <QtWidgets>

#include "ProgramWindows.h"
#include "models/PlaylistEditorModel.h"
#include "platform/TextFile.h"

// Every command of a window can be reached from the keyboard: each marks a letter ("&"), the
// marked letters of the controls shown together are unique, and pressing one reaches the control
// that shows it.
class AccessKeysTest : public QObject {
    Q_OBJECT

  private slots:
    void uniqueWithinEachWindow_data();
    void uniqueWithinEachWindow();
    void everyCommandHasOne_data();
    void everyCommandHasOne();
    void keyReachesItsControl_data();
    void keyReachesItsControl();
};

namespace {

// The marked letters of a caption, upper case; "&&" is a literal ampersand.
QString accessKeys(const QString& caption) {
    QString keys;
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != u'&')
            continue;
        if (caption[i + 1] != u'&')
            keys.append(caption[i + 1].toUpper());
        ++i;
    }
    return keys;
}

// One set of keys that must not collide: the controls shown together with the menu bar titles,
// or the items of one menu. Qt ignores the keys of hidden controls, so the pages of a tab control
// are each a set of their own, together with the window's controls outside the tab control.
struct KeySpace {
    QString name;
    QStringList captions;
};

QStringList menuItems(const QWidget& menu) {
    QStringList captions;
    for (const QAction* item : menu.actions())
        if (!item->isSeparator())
            captions.append(item->text());
    return captions;
}

// The page of a tab control that holds `w`, or null. A page's parent is the tab control's stack.
QWidget* tabPageOf(QWidget* w, const QWidget& window) {
    for (QWidget* p = w; p != nullptr && p != &window; p = p->parentWidget()) {
        QWidget* stack = p->parentWidget();
        auto* tabs = stack ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr;
        if (tabs != nullptr && tabs->indexOf(p) >= 0)
            return p;
    }
    return nullptr;
}

QStringList ownCaptions(QWidget* w) {
    if (auto* button = qobject_cast<QAbstractButton*>(w))
        return {button->text()};
    if (auto* group = qobject_cast<QGroupBox*>(w))
        return {group->title()};
    if (auto* label = qobject_cast<QLabel*>(w); label && label->buddy())
        return {label->text()};
    if (auto* tabs = qobject_cast<QTabBar*>(w)) {
        QStringList titles;
        for (int i = 0; i < tabs->count(); ++i)
            titles.append(tabs->tabText(i));
        return titles;
    }
    if (auto* bar = qobject_cast<QMenuBar*>(w))
        return menuItems(*bar);
    return {};
}

// What a window offers the keyboard, read from its widget tree.
QList<KeySpace> keySpaces(QWidget& window) {
    KeySpace own{window.objectName(), {}};
    QMap<QWidget*, QStringList> pages;
    QList<KeySpace> spaces;
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (auto* menu = qobject_cast<QMenu*>(w)) {
            spaces.append({menu->objectName(), menuItems(*menu)});
            continue;
        }
        if (w->window() != &window)
            continue;  // a window of its own
        if (QWidget* page = tabPageOf(w, window))
            pages[page].append(ownCaptions(w));
        else
            own.captions.append(ownCaptions(w));
    }
    if (pages.isEmpty())
        spaces.prepend(own);
    for (auto it = pages.cbegin(); it != pages.cend(); ++it)
        spaces.prepend({own.name + "/" + it.key()->objectName(), own.captions + it.value()});
    return spaces;
}

// A caption without a word of two letters or digits is a symbol ("?", "X", "..."): it has no
// letter to mark, and its tool tip names the command.
bool isSymbol(const QString& caption) {
    static const QRegularExpression word(QStringLiteral("[[:alnum:]]{2}"));
    return !QString(caption).remove(QLatin1Char('&')).contains(word);
}

// Commands that go without a key of their own, and why.
const QMap<QString, QString>& withoutKey() {
    static const QMap<QString, QString> known = {
        // The settings column, the menu bar and the Marketing page together have more commands
        // than their captions have letters; this one is reached by Tab.
        {"frmMain/chkShowEmbedCode", "no letter left"},
        // The selection windows' check box only shows the main window's HTML5 setting and is
        // never enabled.
        {"frmVideoFilesSingle/chkHtml5", "a mirror"},
        {"frmVideoFilesMulti/chkHtml5", "a mirror"},
    };
    return known;
}

// A tab page's "cmdIntroImage2" repeats the command "cmdIntroImage" of the settings column.
bool repeatsKeyedCommand(const QWidget& window, const QWidget& control) {
    const QString name = control.objectName();
    if (!name.endsWith(QLatin1Char('2')))
        return false;
    const auto* twin = window.findChild<QAbstractButton*>(name.chopped(1));
    return twin != nullptr &&
           (QKeySequence::mnemonic(twin->text()).count() > 0 || isSymbol(twin->text()));
}

// "frmMain/optSingle: Stream Single Video" for each command of the window and of its menus
// (the row menu too) whose caption marks no letter.
QStringList commandsWithoutKey(QWidget& window) {
    QStringList found;
    const auto check = [&](const QString& name, const QString& caption) {
        const QString id = window.objectName() + "/" + name;
        if (!withoutKey().contains(id) && !isSymbol(caption) &&
            QKeySequence::mnemonic(caption).isEmpty())
            found.append(id + ": " + caption);
    };
    for (QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        if (button->window() != &window || button->text().isEmpty())
            continue;  // Qt's own parts and picture buttons have no caption
        if (!repeatsKeyedCommand(window, *button))
            check(button->objectName(), button->text());
    }
    for (QMenu* menu : window.findChildren<QMenu*>())
        for (QAction* item : menu->actions())
            if (!item->isSeparator())
                check(item->objectName(), item->text());
    return found;
}

// "O: &Output Folder..., &Outro Image..." for each key claimed twice; a caption with two marks.
QStringList problems(const KeySpace& space) {
    QStringList found;
    QMap<QChar, QStringList> owners;
    for (const QString& caption : space.captions) {
        const QString keys = accessKeys(caption);
        if (keys.size() > 1)
            found.append(space.name + ": two marked letters in " + caption);
        if (!keys.isEmpty())
            owners[keys[0]].append(caption);
    }
    for (auto it = owners.cbegin(); it != owners.cend(); ++it)
        if (it.value().size() > 1)
            found.append(space.name + ": " + it.key() + " of " + it.value().join(", "));
    return found;
}

void activate(QWidget& window) {
    window.show();
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window))
        qFatal("%s did not become active", qPrintable(window.objectName()));
}

}  // namespace

void AccessKeysTest::uniqueWithinEachWindow_data() {
    QTest::addColumn<QString>("window");
    for (const QString& name : ProgramWindows::names())
        QTest::newRow(qPrintable(name)) << name;
}

void AccessKeysTest::uniqueWithinEachWindow() {
    QFETCH(QString, window);
    ProgramWindows program;
    const std::unique_ptr<QWidget> shown = program.make(window);
    QStringList found;
    for (const KeySpace& space : keySpaces(*shown))
        found.append(problems(space));
    QVERIFY2(found.isEmpty(), qPrintable(found.join("\n")));
}

void AccessKeysTest::everyCommandHasOne_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("rowMenu");  // the playlist's row menu as shown for a row: 0 not opened,
                                       // 1 a row without captions, 2 a row with captions
    for (const QString& name : ProgramWindows::names())
        QTest::newRow(qPrintable(name)) << name << 0;
    QTest::newRow("row menu") << "frmVideoFilesMulti" << 1;
    QTest::newRow("row menu with captions") << "frmVideoFilesMulti" << 2;
}

// The row menu's entries name the row's file, so they get their captions when the menu opens.
void AccessKeysTest::everyCommandHasOne() {
    QFETCH(QString, window);
    QFETCH(int, rowMenu);
    QTemporaryDir dir;
    ProgramWindows program;
    if (rowMenu > 0) {
        program.dialogs.openAnswers.enqueue(
            QStringList{dir.filePath("clip.flv"), dir.filePath("other.flv")});
        program.controller.playlistEditor().addFlashFiles();
    }
    if (rowMenu == 2) {
        const QString captions = dir.filePath("clip.vtt");
        TextFile::writeBytes(captions, "WEBVTT\n\n00:01.000 --> 00:02.000\nHello\n");
        program.dialogs.openAnswers.enqueue(QStringList{captions});
        program.controller.playlistEditor().rowMenuAt(1, PlaylistEditorModel::FlashColumn);
        program.controller.playlistEditor().addCaptionsToVideo();
    }
    const std::unique_ptr<QWidget> shown = program.make(window);
    if (rowMenu > 0) {
        shown->show();
        auto* grid = shown->findChild<QTableWidget*>(QStringLiteral("flxPlayListDetails"));
        const QRect cell = grid->visualItemRect(grid->item(0, PlaylistEditorModel::FlashColumn));
        QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, cell.center());
        auto* menu = shown->findChild<QMenu*>(QStringLiteral("mnuMenuVideo"));
        QTRY_VERIFY(menu->isVisible());
        menu->hide();
        QCOMPARE(shown->findChild<QAction*>(QStringLiteral("mnuEditCaptions"))->isEnabled(),
                 rowMenu == 2);
    }
    const QStringList found = commandsWithoutKey(*shown);
    QVERIFY2(found.isEmpty(), qPrintable(found.join("\n")));
}

void AccessKeysTest::keyReachesItsControl_data() {
    QTest::addColumn<QString>("window");  // "frmMain@2": with the main window's tab 2 in front
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("control");  // a button that must be pressed, or a menu that opens
    QTest::newRow("main: output folder") << "frmMain" << int(Qt::Key_O) << "cmdOutput";
    QTest::newRow("main: outro image") << "frmMain" << int(Qt::Key_R) << "cmdOutroImage";
    QTest::newRow("main: support ticket") << "frmMain" << int(Qt::Key_K) << "cmdSupportTicket";
    QTest::newRow("main: video files") << "frmMain" << int(Qt::Key_C) << "cmdVideoFiles";
    QTest::newRow("main: single video") << "frmMain" << int(Qt::Key_S) << "optSingle";
    QTest::newRow("main: playlist") << "frmMain" << int(Qt::Key_Y) << "optMultiple";
    QTest::newRow("main: html5") << "frmMain" << int(Qt::Key_5) << "chkHtml5";
    QTest::newRow("main: auto start") << "frmMain" << int(Qt::Key_A) << "chkAutoPlay";
    QTest::newRow("main: big play button") << "frmMain" << int(Qt::Key_B) << "chkShowBigPlayButton";
    // Marketing's "Share" and the image tabs' "Show" buttons share W: only the shown one counts.
    QTest::newRow("main: share (marketing tab)")
        << "frmMain@0" << int(Qt::Key_W) << "chkSocialShare";
    QTest::newRow("main: show intro image (intro tab)")
        << "frmMain@2" << int(Qt::Key_W) << "cmdShowIntroImage";
    QTest::newRow("main: show outro image (outro tab)")
        << "frmMain@3" << int(Qt::Key_W) << "cmdShowOutroImage";
    QTest::newRow("playlist: locate flash videos")
        << "frmVideoFilesMulti" << int(Qt::Key_F) << "cmdFLVFiles";
    QTest::newRow("advanced: hide controls")
        << "frmAdvancedOptions" << int(Qt::Key_H) << "chkHideControlsFloatingBar";
    QTest::newRow("main: streaming mode menu") << "frmMain" << int(Qt::Key_M) << "mnuStreamingMode";
    QTest::newRow("main: edit menu") << "frmMain" << int(Qt::Key_E) << "mnuEdit";
    QTest::newRow("main: encrypt") << "frmMain" << int(Qt::Key_N) << "chkEncrypt";
    QTest::newRow("main: generate") << "frmMain" << int(Qt::Key_G) << "cmdGenerate";
    QTest::newRow("main: inline play") << "frmMain" << int(Qt::Key_L) << "chkPlaysInline";
    QTest::newRow("main: muted start") << "frmMain" << int(Qt::Key_U) << "chkMutedAutoPlay";
    QTest::newRow("main: fit to page width") << "frmMain" << int(Qt::Key_D) << "chkFluidSize";
    QTest::newRow("single: save and exit") << "frmVideoFilesSingle" << int(Qt::Key_X) << "cmdSave";
    QTest::newRow("playlist: save and exit") << "frmVideoFilesMulti" << int(Qt::Key_X) << "cmdSave";
    QTest::newRow("playlist: save as file")
        << "frmVideoFilesMulti" << int(Qt::Key_S) << "cmdSavePlaylist";
    QTest::newRow("playlist: cancel") << "frmVideoFilesMulti" << int(Qt::Key_C) << "cmdCancel";
    QTest::newRow("playlist: clear")
        << "frmVideoFilesMulti" << int(Qt::Key_R) << "cmdClearPlaylist";
    QTest::newRow("code: copy") << "frmCopyCode" << int(Qt::Key_P) << "cmdCopyCode";
    QTest::newRow("code: close") << "frmCopyCode" << int(Qt::Key_C) << "cmdClose";
    QTest::newRow("social: save and exit") << "frmSocial" << int(Qt::Key_X) << "cmdSave";
}

// A key that several controls claim only moves the focus among them; a unique one presses its
// button (pressed comes at once, the click a moment later) or opens its menu.
void AccessKeysTest::keyReachesItsControl() {
    QFETCH(QString, window);
    QFETCH(int, key);
    QFETCH(QString, control);
    ProgramWindows program;
    const std::unique_ptr<QWidget> shown = program.make(window.section(u'@', 0, 0));
    if (window.contains(u'@'))
        shown->findChild<QTabWidget*>()->setCurrentIndex(window.section(u'@', 1).toInt());
    activate(*shown);
    QMap<QString, int> pressed;
    for (QAbstractButton* button : shown->findChildren<QAbstractButton*>())
        connect(button, &QAbstractButton::pressed, this,
                [&pressed, button] { ++pressed[button->objectName()]; });

    QTest::keyClick(shown.get(), Qt::Key(key), Qt::AltModifier);

    if (auto* menu = shown->findChild<QMenu*>(control)) {
        QTRY_VERIFY(menu->isVisible());
        menu->hide();
        QVERIFY(pressed.isEmpty());
    } else {
        QCOMPARE(pressed, (QMap<QString, int>{{control, 1}}));
    }
}

QTEST_MAIN(AccessKeysTest)
#include "tst_AccessKeys.moc"
