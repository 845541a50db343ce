#include "ui/FrmMain.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>
#include <memory>
#include <vector>

#include "app/HelpTexts.h"
#include "app/MainController.h"
#include "app/ProfileCommands.h"
#include "app/StartUp.h"
#include "models/ControlStates.h"
#include "platform/AppError.h"
#include "platform/Dialogs.h"
#include "ui/DialogParts.h"
#include "ui/FrmAbout.h"
#include "ui/FrmAdvancedOptions.h"
#include "ui/FrmVideoPlayerSizes.h"
#include "ui/InputRulesFilter.h"
#include "ui/SettingsBinder.h"
#include "ui/TintSwatches.h"
#include "ui/UiPlatform.h"

namespace {

const QString kImageNote = QStringLiteral(
    "Note: The image is automatically resized to fit your selected video player. However the "
    "above image is not the actual size of the image that will be shown on the video player. To "
    "view the actual image click the button below.");

const QString kActionCodeLabel = QStringLiteral(
    "Video On End  - Display a sign-up form or an order button or any action element. Paste it's "
    "HTML code below:");

QString htmlColour(quint32 colour) {
    return QStringLiteral("#%1%2%3")
        .arg(colour & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((colour >> 8) & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((colour >> 16) & 0xFF, 2, 16, QLatin1Char('0'));
}

void paint(QWidget* box, quint32 colour) {
    box->setStyleSheet(
        QStringLiteral("background-color: %1; border: 1px solid #5a5a5a;").arg(htmlColour(colour)));
}

QCheckBox* checkBox(QWidget* owner, const QString& name, const QString& caption) {
    auto* box = new QCheckBox(caption, owner);
    box->setObjectName(name);
    return box;
}

QRadioButton* option(QWidget* owner, const QString& name, const QString& caption) {
    auto* button = new QRadioButton(caption, owner);
    button->setObjectName(name);
    return button;
}

QAction* menuItem(QMenu* menu, const QString& name, const QString& caption) {
    QAction* item = menu->addAction(caption);
    item->setObjectName(name);
    return item;
}

QFrame* separatorLine(QWidget* owner) {
    auto* line = new QFrame(owner);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

// A label that shows a path or file name: it may be long, so it never widens the window.
QLabel* valueLabel(QWidget* owner, const QString& name) {
    QLabel* value = DialogParts::label(owner, name, QString());
    value->setFrameShape(QFrame::StyledPanel);
    value->setFrameShadow(QFrame::Sunken);
    value->setMinimumWidth(120);
    value->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return value;
}

}  // namespace

FrmMain::FrmMain(MainController& controller, QWidget* parent)
    : QMainWindow(parent), m_controller(controller), m_keyFilter(new InputRulesFilter(this)) {
    setObjectName(QStringLiteral("frmMain"));
    buildMenus();
    auto* central = new QWidget(this);
    auto* columns = new QHBoxLayout;
    columns->addWidget(buildSettingsColumn(), 1);
    columns->addWidget(buildTabs(), 1);
    auto* outer = new QVBoxLayout(central);
    outer->addLayout(columns, 1);
    outer->addWidget(buildCommands());
    setCentralWidget(central);

    // The named controls; Qt's own inner widgets ("qt_…") keep their signals.
    m_controls = findChildren<QObject*>();
    m_controls.removeIf([](const QObject* o) {
        return o->objectName().isEmpty() || o->objectName().startsWith(QLatin1String("qt_"));
    });
    for (QObject* control : std::as_const(m_controls))
        m_named.insert(control->objectName(), control);
    connectMenus();
    connectVideoSource();
    connectSettings();
    connectAppearance();
    connectCommands();
    refresh();
    // With its frame and a panel this still fits a 1280 x 720 screen.
    resize(1180, 640);
}

FrmMain::~FrmMain() = default;

void FrmMain::buildMenus() {
    mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuSaveProfile = menuItem(mnuFile, QStringLiteral("mnuSaveProfile"), "&Save Profile");
    mnuLoadProfile = menuItem(mnuFile, QStringLiteral("mnuLoadProfile"), "&Load Profile");
    mnuFile->addSeparator();
    mnuExit = menuItem(mnuFile, QStringLiteral("mnuExit"), "E&xit");

    mnuEdit = menuBar()->addMenu(QStringLiteral("&Edit"));
    mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
    mnuVideoPlayerSizes =
        menuItem(mnuEdit, QStringLiteral("mnuVideoPlayerSizes"), "&Video Player Sizes");
    mnuAdvancedOptions =
        menuItem(mnuEdit, QStringLiteral("mnuAdvancedOptions"), "&Advanced Options...");

    mnuStreamingMode = menuBar()->addMenu(QStringLiteral("Streaming &Mode"));
    mnuStreamingMode->setObjectName(QStringLiteral("mnuStreamingMode"));
    mnuNormalStreaming =
        menuItem(mnuStreamingMode, QStringLiteral("mnuNormalStreaming"), "&Normal Streaming");
    mnuStreamingMode->addSeparator();
    mnuRtmpStreaming =
        menuItem(mnuStreamingMode, QStringLiteral("mnuRtmpStreaming"), "&Rtmp Streaming");
    mnuStreamingMode->addSeparator();
    mnuPseudoStreaming =
        menuItem(mnuStreamingMode, QStringLiteral("mnuPseudoStreaming"), "&Pseudo Streaming");
    for (QAction* item : {mnuNormalStreaming, mnuRtmpStreaming, mnuPseudoStreaming})
        item->setCheckable(true);

    mnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    mnuDocumentation = menuItem(mnuHelp, QStringLiteral("mnuDocumentation"), "&Documentation");
    mnuSupport = menuItem(mnuHelp, QStringLiteral("mnuSupport"), "&Online Support");
    mnuHelp->addSeparator();
    mnuAbout = menuItem(mnuHelp, QStringLiteral("mnuAbout"), "&About...");
}

// The settings column scrolls where the screen is too low for all of it, so that the commands
// below it stay on the screen. It never gets narrower than its contents.
QWidget* FrmMain::buildSettingsColumn() {
    auto* column = new QWidget(this);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(buildSettingsFrame());
    layout->addWidget(buildAppearance());
    layout->addStretch(1);
    auto* scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidget(column);
    scroll->setMinimumWidth(column->minimumSizeHint().width() +
                            scroll->verticalScrollBar()->sizeHint().width());
    return scroll;
}

QWidget* FrmMain::buildSettingsFrame() {
    Frame1 = new QGroupBox(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto* layout = new QVBoxLayout(Frame1);
    layout->addWidget(buildVideoSource());
    layout->addWidget(separatorLine(Frame1));
    layout->addWidget(buildPaths());
    layout->addWidget(separatorLine(Frame1));
    layout->addWidget(buildOptions());
    layout->addWidget(separatorLine(Frame1));
    layout->addWidget(buildImageCommands());
    return Frame1;
}

QWidget* FrmMain::buildVideoSource() {
    auto* box = new QWidget(Frame1);
    optSingle = option(box, QStringLiteral("optSingle"), QStringLiteral("&Stream Single Video"));
    optMultiple = option(box, QStringLiteral("optMultiple"),
                         QStringLiteral("Stream Multiple Videos via Pla&ylist"));
    cmdVideoFiles = DialogParts::button(box, QStringLiteral("cmdVideoFiles"),
                                        QStringLiteral("Sele&ct Video File(s)"));
    lblVideoFilesStatus = DialogParts::label(box, QStringLiteral("lblVideoFilesStatus"), "!");
    lblVideoFilesStatus->setToolTip(
        DialogParts::toolTip(QStringLiteral("Video files are not provided or playlist not built")));
    lblVideoFilesStatus->setStyleSheet(
        QStringLiteral("color: white; background-color: #c62828; font-weight: bold;"
                       "border-radius: 9px; padding: 0px 7px;"));

    auto* layout = new QGridLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(optSingle, 0, 0);
    layout->addWidget(optMultiple, 1, 0);
    auto* files = new QHBoxLayout;
    files->addWidget(cmdVideoFiles);
    files->addWidget(lblVideoFilesStatus);
    files->addStretch(1);
    layout->addLayout(files, 0, 1, 2, 1, Qt::AlignVCenter);
    layout->setColumnStretch(1, 1);
    return box;
}

QWidget* FrmMain::buildPaths() {
    auto* box = new QWidget(Frame1);
    txtServerPath = DialogParts::lineEdit(box, QStringLiteral("txtServerPath"));
    txtVideoPath = DialogParts::lineEdit(box, QStringLiteral("txtVideoPath"));
    cmdHelpServerPath = DialogParts::button(box, QStringLiteral("cmdHelpServerPath"), "?",
                                            QStringLiteral("Quick help on html path"));
    cmdHelpVideoPath = DialogParts::button(box, QStringLiteral("cmdHelpVideoPath"), "?",
                                           QStringLiteral("Quick help on video path"));
    for (QPushButton* help : {cmdHelpServerPath, cmdHelpVideoPath})
        help->setFixedWidth(help->sizeHint().height() + 6);
    cmdOutput =
        DialogParts::button(box, QStringLiteral("cmdOutput"), QStringLiteral("&Output Folder..."));
    lblOutDir = valueLabel(box, QStringLiteral("lblOutDir"));

    auto* layout = new QGridLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(DialogParts::label(box, QStringLiteral("lblServerPath"),
                                         QStringLiteral("HTML Files Path:")),
                      0, 0);
    layout->addWidget(txtServerPath, 0, 1);
    layout->addWidget(cmdHelpServerPath, 0, 2);
    layout->addWidget(DialogParts::label(box, QStringLiteral("lblVideoPath"),
                                         QStringLiteral("Video File(s) Path:")),
                      1, 0);
    layout->addWidget(txtVideoPath, 1, 1);
    layout->addWidget(cmdHelpVideoPath, 1, 2);
    layout->addWidget(cmdOutput, 2, 0);
    layout->addWidget(lblOutDir, 2, 1, 1, 2);
    layout->setColumnStretch(1, 1);
    return box;
}

QWidget* FrmMain::buildOptions() {
    auto* box = new QWidget(Frame1);
    chkHtml5 = checkBox(box, QStringLiteral("chkHtml5"),
                        QStringLiteral("HTML&5 Support for iOS and Android Devices"));
    chkIsLive = checkBox(box, QStringLiteral("chkIsLive"), QStringLiteral("Live &Video Setup"));
    chkShowBigPlayButton = checkBox(box, QStringLiteral("chkShowBigPlayButton"),
                                    QStringLiteral("&Big Play Button on Video Player"));
    chkAutoPlay = checkBox(box, QStringLiteral("chkAutoPlay"), QStringLiteral("&Auto Start Video"));
    chkAutoProgress = checkBox(box, QStringLiteral("chkAutoProgress"),
                               QStringLiteral("Auto &Progress for Multiple Videos"));
    chkEncrypt = checkBox(box, QStringLiteral("chkEncrypt"), QStringLiteral("E&ncrypt HTML"));
    chkPlaysInline =
        checkBox(box, QStringLiteral("chkPlaysInline"), QStringLiteral("Play In&line on Phones"));
    chkMutedAutoPlay = checkBox(box, QStringLiteral("chkMutedAutoPlay"),
                                QStringLiteral("Start Muted with an &Unmute Button"));
    chkFluidSize =
        checkBox(box, QStringLiteral("chkFluidSize"), QStringLiteral("Fit Player to Page Wi&dth"));
    txtAudioLevel =
        DialogParts::lineEdit(box, QStringLiteral("txtAudioLevel"),
                              QStringLiteral("Initial audio volume. 0 = Mute. 100 = Full."));
    txtAudioLevel->setMaximumWidth(60);
    m_keyFilter->watch(txtAudioLevel);

    auto* layout = new QGridLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(chkHtml5, 0, 0, 1, 2);
    layout->addWidget(chkIsLive, 1, 0, 1, 2);
    layout->addWidget(chkShowBigPlayButton, 2, 0);
    layout->addWidget(chkAutoPlay, 2, 1);
    layout->addWidget(chkAutoProgress, 3, 0);
    layout->addWidget(chkEncrypt, 3, 1);
    auto* audio = new QHBoxLayout;
    audio->addWidget(DialogParts::label(box, QStringLiteral("lblAudioLevel"),
                                        QStringLiteral("Initialize Audio at:")));
    audio->addWidget(txtAudioLevel);
    audio->addStretch(1);
    layout->addWidget(chkPlaysInline, 4, 0);
    layout->addWidget(chkMutedAutoPlay, 4, 1);
    layout->addWidget(chkFluidSize, 5, 0);
    layout->addLayout(audio, 6, 0, 1, 2);
    return box;
}

QWidget* FrmMain::buildImageCommands() {
    auto* box = new QWidget(Frame1);
    // Their tool tips are control states: a disabled command says why.
    cmdIntroImage = DialogParts::button(box, QStringLiteral("cmdIntroImage"),
                                        QStringLiteral("&Intro Image..."));
    cmdOutroImage = DialogParts::button(box, QStringLiteral("cmdOutroImage"),
                                        QStringLiteral("Out&ro Image..."));
    cmdClearIntroImage = DialogParts::button(box, QStringLiteral("cmdClearIntroImage"), "X",
                                             QStringLiteral("Clear/Unload intro image"));
    cmdClearOutroImage = DialogParts::button(box, QStringLiteral("cmdClearOutroImage"), "X",
                                             QStringLiteral("Clear/Unload outro image"));
    lblIntroImageName = valueLabel(box, QStringLiteral("lblIntroImageName"));
    lblOutroImageName = valueLabel(box, QStringLiteral("lblOutroImageName"));

    auto* layout = new QGridLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(cmdIntroImage, 0, 0);
    layout->addWidget(lblIntroImageName, 0, 1);
    layout->addWidget(cmdClearIntroImage, 0, 2);
    layout->addWidget(cmdOutroImage, 1, 0);
    layout->addWidget(lblOutroImageName, 1, 1);
    layout->addWidget(cmdClearOutroImage, 1, 2);
    for (QPushButton* clear : {cmdClearIntroImage, cmdClearOutroImage})
        clear->setFixedWidth(clear->sizeHint().height() + 6);
    layout->setColumnStretch(1, 1);
    return box;
}

QWidget* FrmMain::buildAppearance() {
    auto* box = new QGroupBox(QStringLiteral("Video Player"), this);
    box->setObjectName(QStringLiteral("fraPlayer"));
    cmbPlayerStyle = new QComboBox(box);
    cmbPlayerStyle->setObjectName(QStringLiteral("cmbPlayerStyle"));
    cmbPlayerSize = new QComboBox(box);
    cmbPlayerSize->setObjectName(QStringLiteral("cmbPlayerSize"));
    txtPlayerColor =
        DialogParts::lineEdit(box, QStringLiteral("txtPlayerColor"),
                              QStringLiteral("Hexadecimal color code of selected color"));
    txtPlayerColor->setMaximumWidth(80);
    txtPlayerColor->installEventFilter(this);
    m_keyFilter->watch(txtPlayerColor);
    shpPlayerColor = new QFrame(box);
    shpPlayerColor->setObjectName(QStringLiteral("shpPlayerColor"));
    shpPlayerColor->setFixedSize(44, 22);
    cmdChangePlayerColor =
        DialogParts::button(box, QStringLiteral("cmdChangePlayerColor"), QStringLiteral("&Tint"),
                            QStringLiteral("Apply a color tint to selected video player"));
    lblPlayerTintMessage = DialogParts::label(box, QStringLiteral("lblPlayerTintMessage"), {});
    lblPlayerTintMessage->setWordWrap(true);

    auto* layout = new QGridLayout(box);
    layout->addWidget(new QLabel(QStringLiteral("Player Skin:"), box), 0, 0);
    layout->addWidget(cmbPlayerStyle, 0, 1, 1, 3);
    layout->addWidget(new QLabel(QStringLiteral("Player Size:"), box), 1, 0);
    layout->addWidget(cmbPlayerSize, 1, 1, 1, 3);
    layout->addWidget(new QLabel(QStringLiteral("Color Tint:"), box), 2, 0);
    layout->addWidget(txtPlayerColor, 2, 1);
    layout->addWidget(shpPlayerColor, 2, 2);
    layout->addWidget(cmdChangePlayerColor, 2, 3, Qt::AlignLeft);
    // The palette stands beside the three rows rather than below them: the column is the
    // window's tallest part.
    layout->addWidget(buildTintBoxes(), 0, 4, 3, 1, Qt::AlignRight | Qt::AlignVCenter);
    layout->addWidget(lblPlayerTintMessage, 3, 0, 1, 5);
    layout->setColumnStretch(3, 1);
    return box;
}

QWidget* FrmMain::buildTintBoxes() {
    pctPlayerColorTint = new TintSwatches(this);
    return pctPlayerColorTint;
}

QWidget* FrmMain::buildTabs() {
    sstThis = new QTabWidget(this);
    sstThis->setObjectName(QStringLiteral("sstThis"));
    sstThis->addTab(buildMarketingTab(), QStringLiteral("Marketing"));
    sstThis->addTab(buildPreviewTab(), QStringLiteral("Preview"));
    sstThis->addTab(buildImageTab(0), QStringLiteral("Intro Image"));
    sstThis->addTab(buildImageTab(1), QStringLiteral("Outro Image"));
    return sstThis;
}

QWidget* FrmMain::buildMarketingTab() {
    auto* tab = new QWidget(this);
    lblRedirectURL = DialogParts::label(tab, QStringLiteral("lblRedirectURL"),
                                        QStringLiteral("Video On End URL:"));
    txtRedirectURL = DialogParts::lineEdit(tab, QStringLiteral("txtRedirectURL"));
    txtAffiliateLink = DialogParts::lineEdit(tab, QStringLiteral("txtAffiliateLink"));
    lblActionCode = DialogParts::label(tab, QStringLiteral("lblActionCode"), kActionCodeLabel);
    lblActionCode->setWordWrap(true);
    txtActionCode = DialogParts::textBox(tab, QStringLiteral("txtActionCode"));
    txtActionCode->setFont(DialogParts::courierNew());
    chkShowEmbedCode =
        checkBox(tab, QStringLiteral("chkShowEmbedCode"),
                 QStringLiteral("Allow Video to be Embedded on Other Websites (Flash Only)"));
    chkSocialShare = checkBox(tab, QStringLiteral("chkSocialShare"),
                              QStringLiteral("Share Video on FaceBoook and T&witter"));

    auto* layout = new QGridLayout(tab);
    layout->addWidget(lblRedirectURL, 0, 0);
    layout->addWidget(txtRedirectURL, 0, 1);
    layout->addWidget(DialogParts::label(tab, QStringLiteral("lblAffiliateLink"),
                                         QStringLiteral("Video On Click URL (Flash Only):")),
                      1, 0);
    layout->addWidget(txtAffiliateLink, 1, 1);
    layout->addWidget(lblActionCode, 2, 0, 1, 2);
    layout->addWidget(txtActionCode, 3, 0, 1, 2);
    layout->addWidget(chkShowEmbedCode, 4, 0, 1, 2);
    layout->addWidget(chkSocialShare, 5, 0, 1, 2);
    layout->setRowStretch(3, 1);
    layout->setColumnStretch(1, 1);
    return tab;
}

QWidget* FrmMain::buildPreviewTab() {
    auto* tab = new QWidget(this);
    imgVideoPlayerStyle = DialogParts::label(tab, QStringLiteral("imgVideoPlayerStyle"), {});
    imgVideoPlayerStyle->setToolTip(
        DialogParts::toolTip(QStringLiteral("Tint will be applied when you publish the player")));
    imgVideoPlayerStyle->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(imgVideoPlayerStyle, 1, Qt::AlignCenter);
    return tab;
}

// The intro (0) and outro (1) tabs. The preview shows the chosen picture fitted into its box; a
// double click on it chooses another.
QWidget* FrmMain::buildImageTab(int index) {
    const bool intro = index == 0;
    const QString kind = intro ? QStringLiteral("Intro") : QStringLiteral("Outro");
    auto* tab = new QWidget(this);
    QLabel*& preview = intro ? pctShowIntroImage : pctShowOutroImage;
    QPushButton*& choose = intro ? cmdIntroImage2 : cmdOutroImage2;
    QPushButton*& clear = intro ? cmdClearIntroImage2 : cmdClearOutroImage2;
    QPushButton*& show = intro ? cmdShowIntroImage : cmdShowOutroImage;
    QLabel*& path = intro ? lblIntroImagePath : lblOutroImagePath;

    preview = DialogParts::label(tab, "pctShow" + kind + "Image", {});
    preview->setFixedSize(320, 180);
    preview->setStyleSheet(QStringLiteral("background-color: black;"));
    preview->installEventFilter(this);
    m_controller.setImagePreviewSize(preview->size());
    // These two repeat the settings column's "&Intro Image..." (or outro) and "X", and the window's
    // captions have no letter left for them: Tab reaches them.
    choose = DialogParts::button(tab, "cmd" + kind + "Image2", "New " + kind + " Image");
    clear = DialogParts::button(tab, "cmdClear" + kind + "Image2", "Clear " + kind + " Image",
                                intro ? QString() : QStringLiteral("Clear/Unload outro imag"));
    // Qt ignores the keys of a hidden page's controls, so both pages mark the same letter; the
    // commands outside the tabs need every other one.
    show = DialogParts::button(tab, "cmdShow" + kind + "Image",
                               intro ? QStringLiteral("Sho&w Intro Image in Image Viewer")
                                     : QStringLiteral("Sho&w Outro Image in Image Viewer"),
                               "Open the " + kind.toLower() + " image in default image viewer");
    path = valueLabel(tab, "lbl" + kind + "ImagePath");
    lblImageMsg[index] = DialogParts::label(tab, QStringLiteral("lblImageMsg"), kImageNote);
    lblImageMsg[index]->setProperty("index", index);
    lblImageMsg[index]->setWordWrap(true);

    auto* commands = new QHBoxLayout;
    commands->addWidget(choose);
    commands->addWidget(clear);
    commands->addStretch(1);
    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(preview, 0, Qt::AlignHCenter);
    layout->addWidget(path);
    layout->addLayout(commands);
    layout->addWidget(lblImageMsg[index]);
    layout->addWidget(show, 0, Qt::AlignLeft);
    layout->addStretch(1);
    return tab;
}

QWidget* FrmMain::buildCommands() {
    auto* box = new QWidget(this);
    cmdGenerate = DialogParts::button(box, QStringLiteral("cmdGenerate"),
                                      QStringLiteral("&Generate Code and Files"));
    cmdGenerate->setMinimumHeight(40);
    QFont bold = cmdGenerate->font();
    bold.setBold(true);
    cmdGenerate->setFont(bold);
    cmdSupportTicket = DialogParts::button(box, QStringLiteral("cmdSupportTicket"),
                                           QStringLiteral("Open a Support Tic&ket"),
                                           QStringLiteral("Contact Vidlark support"));
    imgFBLike = DialogParts::label(box, QStringLiteral("imgFBLike"), {});
    imgFBLike->setToolTip(DialogParts::toolTip(QStringLiteral("Please \"Like\" us on FaceBook")));
    imgFBLike->setCursor(Qt::PointingHandCursor);
    imgFBLike->installEventFilter(this);
    const QPixmap like(QDir(m_controller.paths().data).filePath("images/wg_fb.jpg"));
    if (like.isNull())
        imgFBLike->setText(QStringLiteral("<a href=\"#\">FaceBook</a>"));
    else
        imgFBLike->setPixmap(like);

    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(cmdSupportTicket);
    layout->addWidget(imgFBLike);
    layout->addStretch(1);
    layout->addWidget(cmdGenerate, 0);
    cmdGenerate->setMinimumWidth(260);
    return box;
}

void FrmMain::connectMenus() {
    connect(mnuSaveProfile, &QAction::triggered, this,
            [this] { forward([this] { ProfileCommands(m_controller).save(); }); });
    connect(mnuLoadProfile, &QAction::triggered, this,
            [this] { forward([this] { ProfileCommands(m_controller).load(); }); });
    connect(mnuExit, &QAction::triggered, this, &QWidget::close);
    connect(mnuVideoPlayerSizes, &QAction::triggered, this, [this] { showPlayerSizesDialog(); });
    connect(mnuAdvancedOptions, &QAction::triggered, this, [this] { showAdvancedOptionsDialog(); });
    const std::pair<QAction*, StreamingMode> modes[] = {
        {mnuNormalStreaming, StreamingMode::Normal},
        {mnuRtmpStreaming, StreamingMode::Rtmp},
        {mnuPseudoStreaming, StreamingMode::Pseudo}};
    for (const auto& [item, mode] : modes)
        connect(item, &QAction::triggered, this, [this, mode = mode] {
            forward([this, mode] { m_controller.window().selectStreamingMode(mode); });
        });
    connect(mnuDocumentation, &QAction::triggered, this,
            [this] { forward([this] { m_controller.openDocumentation(&UiPlatform::openUrl); }); });
    connect(mnuSupport, &QAction::triggered, this, [this] { openPage(HelpTexts::supportPage()); });
    connect(mnuAbout, &QAction::triggered, this, [this] { showAboutWindow(); });
}

void FrmMain::connectVideoSource() {
    connect(optSingle, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            forward([this] { m_controller.window().selectSingle(); });
    });
    connect(optMultiple, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            forward([this] { m_controller.window().selectMultiple(); });
    });
    connect(cmdVideoFiles, &QPushButton::clicked, this,
            [this] { forward([this] { m_controller.selectVideoFiles(); }); });
    connect(cmdHelpServerPath, &QPushButton::clicked, this,
            [this] { forward([this] { m_controller.window().helpServerPath(); }); });
    connect(cmdHelpVideoPath, &QPushButton::clicked, this,
            [this] { forward([this] { m_controller.window().helpVideoPath(); }); });
    connect(cmdOutput, &QPushButton::clicked, this,
            [this] { forward([this] { m_controller.window().chooseOutputFolder(); }); });
}

void FrmMain::connectSettings() {
    m_binder = std::make_unique<SettingsBinder>(
        *this, m_controller.window(),
        [this](const std::function<void()>& change) { forward(change); });
}

void FrmMain::connectAppearance() {
    connect(cmdChangePlayerColor, &QPushButton::clicked, this,
            [this] { forward([this] { m_controller.chooseTint(); }); });
    connect(pctPlayerColorTint, &TintSwatches::picked, this,
            [this](int index) { forward([this, index] { m_controller.clickTintBox(index); }); });
    connect(sstThis, &QTabWidget::currentChanged, this, [this](int index) {
        forward([this, index] { m_controller.window().showTab(index); });
    });
}

void FrmMain::connectCommands() {
    connect(cmdGenerate, &QPushButton::clicked, this,
            [this] { forward([this] { m_controller.generate(); }); });
    connect(cmdSupportTicket, &QPushButton::clicked, this,
            [this] { openPage(HelpTexts::supportPage()); });
    const std::pair<QPushButton*, void (MainController::*)()> images[] = {
        {cmdIntroImage, &MainController::chooseIntroImage},
        {cmdIntroImage2, &MainController::chooseIntroImage},
        {cmdClearIntroImage, &MainController::clearIntroImage},
        {cmdClearIntroImage2, &MainController::clearIntroImage},
        {cmdShowIntroImage, &MainController::showIntroImage},
        {cmdOutroImage, &MainController::chooseOutroImage},
        {cmdOutroImage2, &MainController::chooseOutroImage},
        {cmdClearOutroImage, &MainController::clearOutroImage},
        {cmdClearOutroImage2, &MainController::clearOutroImage},
        {cmdShowOutroImage, &MainController::showOutroImage}};
    for (const auto& [button, command] : images)
        connect(button, &QPushButton::clicked, this, [this, command = command] {
            forward([this, command] { (m_controller.*command)(); });
        });
}

void FrmMain::forward(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const AppError& error) {
        m_controller.dialogs().reportError(error);
    }
    refresh();
}

bool FrmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtPlayerColor && event->type() == QEvent::MouseButtonDblClick) {
        forward([this] { m_controller.chooseTint(); });
        return true;
    }
    if ((watched == pctShowIntroImage || watched == pctShowOutroImage) &&
        event->type() == QEvent::MouseButtonDblClick) {
        const bool intro = watched == pctShowIntroImage;
        // The choose commands' own rules apply: no new picture while they are disabled.
        if ((intro ? cmdIntroImage2 : cmdOutroImage2)->isEnabled())
            forward([this, intro] {
                intro ? m_controller.chooseIntroImage() : m_controller.chooseOutroImage();
            });
        return true;
    }
    if (watched == imgFBLike && event->type() == QEvent::MouseButtonRelease) {
        openPage(HelpTexts::socialPage());
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void FrmMain::closeEvent(QCloseEvent* event) {
    if (StartUp::confirmClose(m_controller))
        event->accept();
    else
        event->ignore();
}

void FrmMain::refresh() {
    std::vector<std::unique_ptr<QSignalBlocker>> blocked;
    blocked.reserve(static_cast<std::size_t>(m_controls.size()));
    for (QObject* control : std::as_const(m_controls))
        blocked.push_back(std::make_unique<QSignalBlocker>(control));

    const ProjectSettings& s = m_controller.settings();
    const ControlStates& states = m_controller.window().states();
    setWindowTitle(states.caption);
    refreshControlStates(states);
    refreshVideoSource(s);
    refreshAppearance(s, states);
    m_binder->refresh();
    refreshImages(s);
    sstThis->setCurrentIndex(states.currentTab);
}

void FrmMain::refreshControlStates(const ControlStates& states) {
    const auto show = [this](const char* control, ControlProperty property, const QVariant& value) {
        if (QObject* target = m_named.value(QLatin1String(control)))
            target->setProperty(ControlStates::qtProperty(property), value);
    };
    for (const ControlStateRow<bool>& row : ControlStates::flagRows())
        show(row.control, row.property, states.*row.state);
    for (const ControlStateRow<QString>& row : ControlStates::textRows())
        show(row.control, row.property, states.*row.state);
}

void FrmMain::refreshVideoSource(const ProjectSettings& s) {
    (s.Multiple ? optMultiple : optSingle)->setChecked(true);
}

void FrmMain::refreshAppearance(const ProjectSettings& s, const ControlStates& states) {
    const auto fill = [](QComboBox* list, const QStringList& entries) {
        QStringList shown;
        for (int i = 0; i < list->count(); ++i)
            shown.append(list->itemText(i));
        if (shown != entries) {
            list->clear();
            list->addItems(entries);
        }
    };
    fill(cmbPlayerStyle, m_controller.skins());
    fill(cmbPlayerSize, m_controller.playerSizes().entries());
    paint(shpPlayerColor, s.PlayerColorNumber);
    pctPlayerColorTint->setColours(states.tintBoxColours);
    refreshPreview();
}

// Made again only when the skin or its tint has changed: refresh runs after every event.
void FrmMain::refreshPreview() {
    const QString shown =
        m_controller.skinName() + u'/' + QString::number(m_controller.settings().PlayerColorNumber);
    if (shown == m_previewShown)
        return;
    m_previewShown = shown;
    // A skin without its preview picture shows an empty preview; the skin itself still works.
    imgVideoPlayerStyle->setPixmap(QPixmap::fromImage(m_controller.skinPreview()));
}

void FrmMain::refreshImages(const ProjectSettings& s) {
    lblIntroImagePath->setToolTip(DialogParts::toolTip(s.IntroImagePath));
    lblOutroImagePath->setToolTip(DialogParts::toolTip(s.OutroImagePath));
    // A pixmap is made only when its picture has changed: refresh runs after every event.
    const auto show = [](QLabel* box, const QImage& picture) {
        if (box->property("picture").toLongLong() == picture.cacheKey())
            return;
        box->setProperty("picture", picture.cacheKey());
        if (picture.isNull())
            box->clear();
        else
            box->setPixmap(QPixmap::fromImage(picture));
    };
    show(pctShowIntroImage, m_controller.images().preview(IntroOutroImages::Kind::Intro));
    show(pctShowOutroImage, m_controller.images().preview(IntroOutroImages::Kind::Outro));
}

void FrmMain::showPlayerSizesDialog() {
    forward([this] {
        FrmVideoPlayerSizes dialog(m_controller, this);
        dialog.exec();
        m_controller.reloadPlayerSizes();
    });
}

void FrmMain::showAdvancedOptionsDialog() {
    forward([this] {
        if (m_advancedOptions == nullptr)
            m_advancedOptions = new FrmAdvancedOptions(m_controller, this);
        m_advancedOptions->exec();
    });
}

void FrmMain::showAboutWindow() {
    FrmAbout about(this, [this](const QString& page) { openPage(page); });
    about.exec();
}

void FrmMain::openPage(const QString& address) {
    forward([this, address] { m_controller.openWebPage(address, &UiPlatform::openUrl); });
}
