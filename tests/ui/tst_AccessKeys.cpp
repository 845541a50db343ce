#include <QtTest>
#include <QtWidgets>

#include "ProgramWindows.h"

// Every command of a window can be reached from the keyboard: the marked letters ("&") of one
// window are unique, and pressing one reaches the control that shows it.
class AccessKeysTest : public QObject {
    Q_OBJECT

  private slots:
    void uniqueWithinEachWindow_data();
    void uniqueWithinEachWindow();
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

// One set of keys that must not collide: the window's own controls and menu bar titles, or the
// items of one menu.
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

// What a window offers the keyboard, read from its widget tree.
QList<KeySpace> keySpaces(QWidget& window) {
    KeySpace own{window.objectName(), {}};
    QList<KeySpace> spaces;
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (auto* menu = qobject_cast<QMenu*>(w)) {
            spaces.append({menu->objectName(), menuItems(*menu)});
            continue;
        }
        if (w->window() != &window)
            continue;  // a window of its own
        if (auto* button = qobject_cast<QAbstractButton*>(w))
            own.captions.append(button->text());
        else if (auto* group = qobject_cast<QGroupBox*>(w))
            own.captions.append(group->title());
        else if (auto* label = qobject_cast<QLabel*>(w); label && label->buddy())
            own.captions.append(label->text());
        else if (auto* tabs = qobject_cast<QTabBar*>(w))
            for (int i = 0; i < tabs->count(); ++i)
                own.captions.append(tabs->tabText(i));
        else if (auto* bar = qobject_cast<QMenuBar*>(w))
            own.captions.append(menuItems(*bar));
    }
    spaces.prepend(own);
    return spaces;
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

void AccessKeysTest::keyReachesItsControl_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("control");  // a button that must be pressed, or a menu that opens
    QTest::newRow("main: output folder") << "frmMain" << int(Qt::Key_O) << "cmdOutput";
    QTest::newRow("main: outro image") << "frmMain" << int(Qt::Key_R) << "cmdOutroImage";
    QTest::newRow("main: support ticket") << "frmMain" << int(Qt::Key_P) << "cmdSupportTicket";
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
    const std::unique_ptr<QWidget> shown = program.make(window);
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
