#include <QtTest>
#include <QtWidgets>

#include "ProgramWindows.h"

// Tab moves through a dialog's controls in a fixed order, the one a keyboard user has learnt:
// the boxes from the top, then the commands. Controls Tab cannot reach (labels, frames) are left
// out; a control missing from the order, or one too many, shows here as well.
class TabOrderTest : public QObject {
    Q_OBJECT

  private slots:
    void followsTheWindowsOrder_data();
    void followsTheWindowsOrder();
};

namespace {

// The controls Tab stops at, in focus-chain order from the window itself.
QStringList tabStops(QWidget& window) {
    QStringList stops;
    for (QWidget* w = window.nextInFocusChain(); w != &window; w = w->nextInFocusChain())
        if ((w->focusPolicy() & Qt::TabFocus) != 0 && w->window() == &window)
            stops.append(w->objectName());
    return stops;
}

}  // namespace

void TabOrderTest::followsTheWindowsOrder_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QStringList>("order");
    const auto row = [](const char* window, const QString& order) {
        QTest::newRow(window) << QString::fromLatin1(window) << order.split(u' ');
    };
    row("frmAbout", "lblVidlark lblVidlarkSupport lblVidlarkContact cmdClose");
    row("frmAdvancedOptions",
        "txtVideoBuffer chkHideControlsFloatingBar txtItemsPlaylist "
        "txtWidthPlaylist txtPlayListFontSize txtErrorFlash txtErrorHtml5 "
        "cmdSave cmdCancel");
    row("frmCaptionTracks", "grdCaptions cmdOK cmdCancel");
    row("frmCopyCode",
        "txtCopyCode txtInst cmdCopyCode cmdSaveCodeInst cmdTest cmdDetails cmdClose");
    row("frmFileWork", "txtDOS cmdCancel");
    row("frmHelp", "txtInfo cmdClose");
    row("frmHtml5Copies", "cmdCancel");
    row("frmInjectorOutput", "txtDOS cmdClose");
    // Save, the command Enter in the link box gives too, comes before Refresh at its left.
    row("frmSocial", "txtShareTitle txtShareURL cmdSave cmdRefresh cmdCancel");
    row("frmVideoPlayerSizes", "txtVideoWindowSizes cmdSave cmdCancel");
}

void TabOrderTest::followsTheWindowsOrder() {
    QFETCH(QString, window);
    QFETCH(QStringList, order);
    ProgramWindows program;
    const std::unique_ptr<QWidget> shown = program.make(window);
    shown->show();
    QCOMPARE(tabStops(*shown), order);
}

QTEST_MAIN(TabOrderTest)
#include "tst_TabOrder.moc"
