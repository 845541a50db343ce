#include "ui/FrmMain.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTabWidget>
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

}  // namespace

FrmMain::FrmMain(MainController& controller, QWidget* parent)
    : QMainWindow(parent), m_controller(controller), m_keyFilter(new InputRulesFilter(this)) {
    setupUi(this);
    fitSymbolButtons();
    keepSettingsColumnWhole();
    txtActionCode->setFont(DialogParts::courierNew());
    showLikeButton();
    watchControls();
    m_controller.setImagePreviewSize(pctShowIntroImage->size());

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
}

FrmMain::~FrmMain() = default;

// The "?" and "X" buttons are as wide as they are high, whatever the font makes of that.
void FrmMain::fitSymbolButtons() {
    for (QPushButton* button :
         {cmdHelpServerPath, cmdHelpVideoPath, cmdClearIntroImage, cmdClearOutroImage})
        button->setFixedWidth(button->sizeHint().height() + 6);
}

// The settings column scrolls where the screen is too low for all of it, so that the commands
// below it stay on the screen. It never gets narrower than its contents as the form leaves them,
// before the lists are filled.
void FrmMain::keepSettingsColumnWhole() {
    scrSettings->setMinimumWidth(settingsColumn->minimumSizeHint().width() +
                                 scrSettings->verticalScrollBar()->sizeHint().width());
}

// The installation's picture, or a link where it has none.
void FrmMain::showLikeButton() {
    const QPixmap like(QDir(m_controller.paths().data).filePath("images/wg_fb.jpg"));
    if (like.isNull())
        imgFBLike->setText(QStringLiteral("<a href=\"#\">FaceBook</a>"));
    else
        imgFBLike->setPixmap(like);
}

// Double clicks on the colour box and on the two previews, a click on the like button, and the
// keys the numeric and hexadecimal boxes refuse.
void FrmMain::watchControls() {
    m_keyFilter->watch(txtAudioLevel);
    txtPlayerColor->installEventFilter(this);
    m_keyFilter->watch(txtPlayerColor);
    for (QLabel* preview : {pctShowIntroImage, pctShowOutroImage})
        preview->installEventFilter(this);
    imgFBLike->installEventFilter(this);
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
