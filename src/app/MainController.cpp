#include "app/MainController.h"

#include <QDir>

#include "app/HelpTexts.h"
#include "app/LocalPreview.h"
#include "app/ProfileApplier.h"
#include "appearance/ColourText.h"
#include "appearance/Palette.h"
#include "appearance/SkinList.h"
#include "appearance/TintedPreview.h"
#include "generate/GenerateRequest.h"
#include "generate/GenerationContext.h"
#include "generate/GenerationDriver.h"
#include "media/PlaylistFile.h"
#include "models/PlaylistEditorModel.h"
#include "models/SingleVideoDialogModel.h"
#include "platform/AppError.h"
#include "platform/Dialogs.h"
#include "platform/Int16.h"
#include "platform/Views.h"
#include "settings/AdvancedOptionsFile.h"
#include "settings/PlayerSizesFile.h"
#include "settings/ProfileFile.h"
#include "settings/ProfileLayout.h"

MainController::MainController(AppPaths paths, Dialogs& dialogs, Views& views, const Clock& clock,
                               RandomSource& random)
    : m_paths(std::move(paths)),
      m_dialogs(dialogs),
      m_views(views),
      m_clock(clock),
      m_random(random),
      m_window(dialogs, views),
      m_single(std::make_unique<SingleVideoDialogModel>(m_window, dialogs, views)),
      m_editor(std::make_unique<PlaylistEditorModel>(m_window, dialogs, views)),
      m_images(m_paths, dialogs) {
    m_window.setSelectionChecks([this] { return m_single->checkData(true); },
                                [this] { return m_editor->checkData(true); });
    takeInstallationRules();
}

void MainController::takeInstallationRules() {
    m_window.takeChanges(&ProjectSettings::PlayerStyle, [this](int index) { selectSkin(index); });
    m_window.takeChanges(&ProjectSettings::PlayerSize,
                         [this](int index) { selectPlayerSize(index); });
    m_window.takeChanges(&ProjectSettings::PlayerColor,
                         [this](const QString& text) { setPlayerColorText(text); });
}

const Playlist& MainController::playlist() const {
    return m_editor->playlist();
}

const CaptionTracks& MainController::singleVideoCaptions() const {
    return m_single->video().Captions;
}

MainController::~MainController() = default;

QString MainController::localTestPageAddress() {
    if (!m_preview)
        m_preview = std::make_unique<LocalPreview>(m_paths);
    return m_preview->testPageAddress();
}

bool MainController::loadInstallation() {
    m_skins = SkinList::list(m_paths.data);
    if (m_skins.isEmpty()) {
        m_dialogs.error(QStringLiteral("NO PLAYER SKINS FOUND. PLEASE REINSTALL THE SOFTWARE."));
        return false;
    }
    // The user's folders are made only once the installation has shown it has skins.
    m_paths.prepare();
    m_window.settings().PlayerStyle = 0;
    m_window.showTab(1);
    applyPalette();
    takePlayerSizes(PlayerSizesFile::readEntries(m_paths.config));
    loadAdvancedOptions();
    m_window.selectSingle();
    return true;
}

void MainController::reloadPlayerSizes() {
    QStringList entries;
    try {
        entries = PlayerSizesFile::readEntries(m_paths.config);
    } catch (const AppError& error) {
        m_dialogs.reportError(error);
        return;
    }
    takePlayerSizes(entries);
    reloadImages();
}

// `entries` is never empty: reading the sizes file raises error 9 for a file without an entry.
void MainController::takePlayerSizes(const QStringList& entries) {
    if (!m_sizes.setEntries(entries))
        m_dialogs.error(m_sizes.takenMessage());
    m_window.settings().PlayerSize = m_sizes.selectedIndex();
}

void MainController::loadAdvancedOptions() {
    QString problem;
    m_advanced = AdvancedOptionsFile::read(m_paths.config, &problem);
    if (!problem.isEmpty())
        m_dialogs.warning(problem);
}

QString MainController::skinName() const {
    const int index = m_window.settings().PlayerStyle;
    return index >= 0 && index < m_skins.size() ? m_skins[index] : QString();
}

QImage MainController::skinPreview() const {
    const QString skin = skinName();
    const QImage picture(
        QDir(m_paths.data).filePath(QStringLiteral("swfs/") + skin + QStringLiteral(".jpg")));
    return TintedPreview::apply(picture, SkinList::isDark(skin),
                                m_window.settings().PlayerColorNumber);
}

void MainController::selectSkin(int index) {
    if (index < -1 || index >= m_skins.size())
        throw AppError(AppError::SubscriptOutOfRange, QString::number(index));
    if (index == m_window.settings().PlayerStyle)
        return;
    m_window.settings().PlayerStyle = index;
    if (m_window.states().currentTab != 1)
        m_window.showTab(1);
    applyPalette();
}

void MainController::applyPalette() {
    const Palette& palette = Palette::forSkin(skinName());
    QList<quint32> boxes;
    for (int i = 0; i < Palette::BoxCount; ++i)
        boxes.append(palette.boxColour(i));
    m_window.setTintPalette(palette.message(), boxes);
    setPlayerColorText(palette.colourText());
}

void MainController::clickTintBox(int index) {
    const QList<quint32>& boxes = m_window.states().tintBoxColours;
    if (index >= 0 && index < boxes.size())
        setPlayerColorText(ColourText::fromColour(boxes[index]));
}

void MainController::chooseTint() {
    const std::optional<quint32> colour =
        m_dialogs.chooseColour(m_window.settings().PlayerColorNumber);
    if (!colour)
        return;
    setPlayerColorNumber(*colour);
    setPlayerColorText(ColourText::fromColour(*colour));
}

void MainController::selectPlayerSize(int index) {
    if (index < 0 || index >= m_sizes.entries().size())
        throw AppError(AppError::SubscriptOutOfRange, QString::number(index));
    if (index == m_window.settings().PlayerSize)
        return;
    // A malformed entry leaves the previous one selected, and the size box shows that one again.
    if (!m_sizes.select(index)) {
        m_dialogs.error(PlayerSizes::malformedEntryMessage(m_sizes.entries().at(index)));
        return;
    }
    m_window.settings().PlayerSize = index;
    reloadImages();
}

void MainController::setPlayerColorText(const QString& text) {
    m_window.settings().PlayerColor = text;
    m_window.settings().PlayerColorNumber = ColourText::toColour(text);
}

void MainController::setPlayerColorNumber(quint32 number) {
    m_window.settings().PlayerColorNumber = number;
}

void MainController::readProfile(const QString& path, const QMap<int, QString>& overrides) {
    QMap<int, QString> lines;
    const QStringList values = ProfileFile::readValues(path);
    for (int i = 0; i < values.size(); ++i)
        lines.insert(i + 1, values[i]);
    // Saving leaves out later options that are off, so their missing lines turn them off.
    lines.insert(ProfileLayout::leftOutLines(values.size()));
    for (auto it = overrides.cbegin(); it != overrides.cend(); ++it) {
        ProfileFile::checkForLoading(it.key(), it.value());
        lines.insert(it.key(), it.value());
    }
    ProfileApplier(*this).apply(lines);
    reloadImages();
}

namespace {

// The rendered images are two pixels larger than the player in each direction.
QSize imageCanvas(const PlayerSizes& sizes) {
    return {Int16::add(sizes.width(), 2), Int16::add(sizes.height(), 2)};
}

}  // namespace

void MainController::reloadImages() {
    for (const auto kind : {IntroOutroImages::Kind::Intro, IntroOutroImages::Kind::Outro})
        m_images.reload(kind, m_window.settings(), imageCanvas(m_sizes));
}

void MainController::chooseImage(IntroOutroImages::Kind kind) {
    if (!m_images.choose(kind, m_window.settings(), imageCanvas(m_sizes)))
        return;
    const int tab = kind == IntroOutroImages::Kind::Intro ? 2 : 3;
    if (m_window.states().currentTab != tab)
        m_window.showTab(tab);
}

void MainController::clearImage(IntroOutroImages::Kind kind) {
    m_images.clear(kind, m_window.settings());
}

void MainController::showImage(IntroOutroImages::Kind kind) {
    m_views.openWithDefaultProgram(m_images.renderedJpeg(kind));
}

namespace {

QString notOpenedMessage(const QString& what, const QString& path) {
    return QStringLiteral("THE %1 COULD NOT BE OPENED. NO PROGRAM TO OPEN IT WAS FOUND.\n")
               .arg(what) +
           path;
}

}  // namespace

void MainController::openOutputFolder(const Opener& show) {
    const QString folder = m_window.settings().OutDir;
    if (!show(folder + QStringLiteral("onlinetest.html")))
        m_dialogs.error(notOpenedMessage(QStringLiteral("OUTPUT FOLDER"), folder));
}

void MainController::openDocumentation(const Opener& open) {
    const QString page = HelpTexts::documentationPage();
    if (!open(page))
        m_dialogs.error(notOpenedMessage(QStringLiteral("DOCUMENTATION"), page));
}

void MainController::openWebPage(const QString& address, const Opener& open) {
    if (!open(address))
        m_dialogs.error(notOpenedMessage(QStringLiteral("WEB PAGE"), address));
}

void MainController::selectVideoFiles() {
    showVideoFilesDialog();
}

void MainController::showVideoFilesDialog() {
    if (m_window.settings().Multiple) {
        m_editor->show();
        m_views.showPlaylistEditor();
        return;
    }
    m_single->show();
    m_views.showSingleVideoDialog();
}

void MainController::openPlaylist(const QString& path) {
    const PlaylistFile::Contents contents = PlaylistFile::read(path);
    m_window.selectMultiple();
    m_editor->show();
    m_editor->takePlaylist(contents, path);
    m_views.showPlaylistEditor();
}

MainController::GenerateOutcome MainController::generate() {
    if (!GenerateRequest::validate(*this, m_dialogs, m_views))
        return GenerateOutcome::Stopped;
    GenerationContext ctx{
        m_snapshot, m_window.settings(),        m_advanced, m_single->video(), m_editor->playlist(),
        skinName(), m_window.settings().OutDir, m_paths};
    switch (GenerationDriver::run(ctx, {m_snapshot, m_random}, m_sizes.width(), m_sizes.height(),
                                  m_clock, m_dialogs, m_views)) {
        case GenerationDriver::Outcome::Completed:
            return GenerateOutcome::Completed;
        case GenerationDriver::Outcome::SourceMissing:
            return GenerateOutcome::Stopped;
        case GenerationDriver::Outcome::Cancelled:
            return GenerateOutcome::Cancelled;
        case GenerationDriver::Outcome::Failed:
            break;
    }
    return GenerateOutcome::Failed;
}
