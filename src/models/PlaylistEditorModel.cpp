#include "models/PlaylistEditorModel.h"

#include <QFileInfo>

#include <QDir>
#include <algorithm>

#include "media/Html5CopyTargets.h"
#include "media/PlaylistFile.h"
#include "models/CaptionTracksDialogModel.h"
#include "models/SelectionHost.h"
#include "platform/Dialogs.h"
#include "platform/FileOps.h"
#include "platform/Views.h"

namespace {

const QString H264Filter =
    QStringLiteral("H.264 Mp4(*.mp4)|*.mp4|H.264 F4V(*.f4v)|*.f4v|H.264 M4V (*.m4v)|*.m4v");
const QString FlvFilter = QStringLiteral("FLV (*.flv)|*.flv");
const QString Grid = QStringLiteral("flxPlayListDetails");
const QString EditBox = QStringLiteral("txtEditGrid");

QString PlaylistEntry::*const kColumnFields[] = {
    &PlaylistEntry::FlashFile, &PlaylistEntry::Mp4File,     &PlaylistEntry::WebmFile,
    &PlaylistEntry::Title,     &PlaylistEntry::Description, &PlaylistEntry::Thumbnail,
};

// Index of the last folder separator, whichever way the path was written.
qsizetype lastSeparator(const QString& path) {
    return std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QDir::separator()));
}

QString folderOf(const QString& path) {
    return path.left(lastSeparator(path) + 1);
}

QString nameOf(const QString& path) {
    return path.mid(lastSeparator(path) + 1);
}

bool endsInSeparator(const QString& folder) {
    return folder.endsWith(QLatin1Char('/')) || folder.endsWith(QDir::separator());
}

QString quoted(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}

}  // namespace

const QString PlaylistEditorModel::kCaption = QStringLiteral("Select Videos & Build Playlist");

PlaylistEditorModel::PlaylistEditorModel(SelectionHost& host, Dialogs& dialogs, Views& views)
    : VideoFilesDialogModel(host, dialogs, views), m_files(dialogs), m_caption(kCaption) {}

QString PlaylistEditorModel::headerText(int column) {
    static const char* const texts[] = {"FLV/Mp4 Video Files", "Mp4 Video Files",
                                        "WebM Video Files",    "Title of the Video",
                                        "Video Description",   "Thumbnail Image"};
    return column >= 0 && column < 6 ? QString::fromLatin1(texts[column]) : QString();
}

int PlaylistEditorModel::columnWidthTwips(int column) {
    static const int widths[] = {2150, 2150, 2150, 4500, 4500, 2600};
    return column >= 0 && column < 6 ? widths[column] : 0;
}

void PlaylistEditorModel::show() {
    applyLayout(m_playlist.layout);
    showHtml5Mirror();
}

void PlaylistEditorModel::selectLayout(PlaylistLayout layout) {
    // The options are disabled while the playlist is invisible.
    if (m_layoutChoiceEnabled)
        applyLayout(layout);
}

void PlaylistEditorModel::selectPosition(PlaylistPosition position) {
    m_playlist.position = position;
    // An invisible playlist has no layout to choose; the chosen one stays in force.
    m_layoutChoiceEnabled = position != PlaylistPosition::Invisible;
}

void PlaylistEditorModel::applyLayout(PlaylistLayout layout) {
    const int columns = playlistFieldCount(layout);
    if (columns < columnCount())
        setCurrentCell(0, 0);
    m_playlist.layout = layout;
    // Columns that disappear lose their contents, so coming back shows them empty.
    for (PlaylistEntry& entry : m_playlist.rows) {
        for (int c = columns; c < 6; ++c)
            (entry.*kColumnFields[c]).clear();
    }
    m_cursor.hideBox();
    if (layout != PlaylistLayout::TitleDescThumb)
        m_cursor.hideChooser();
}

void PlaylistEditorModel::addFlashFiles() {
    // The seek script of Pseudo mode serves FLV files only.
    const QString filter = m_host.streamingMode() == StreamingMode::Pseudo
                               ? FlvFilter
                               : FlvFilter + QLatin1Char('|') + H264Filter;
    addFiles({FlashColumn, &PlaylistEntry::FlashFile, &Playlist::FLVVideoFilesPath, filter});
}

void PlaylistEditorModel::addMp4Files() {
    addFiles({Mp4Column, &PlaylistEntry::Mp4File, &Playlist::Mp4VideoFilesPath, H264Filter});
}

void PlaylistEditorModel::addWebmFiles() {
    addFiles({WebmColumn, &PlaylistEntry::WebmFile, &Playlist::WebMVideoFilesPath,
              QStringLiteral("WebM files (*.webm)|*.webm")});
}

void PlaylistEditorModel::addFiles(const FileColumn& target) {
    const bool replace =
        (m_playlist.rows.first().*target.field).isEmpty() ||
        !m_dialogs.confirm(QStringLiteral(
            "DO YOU WANT TO ADD OR REPLACE EXISTING VIDEOS? ADD = Yes, REPLACE = No"));
    // "Add" opens in the column's folder, "Replace" where the user chose files last.
    const QString folder = replace ? m_lastSelectionFolder : m_playlist.*target.folder;
    const std::optional<QStringList> answer =
        m_dialogs.openFiles({QStringLiteral("Open Video Files"), target.filter, true, folder});
    if (!answer || answer->isEmpty())
        return;
    m_lastSelectionFolder = QFileInfo(answer->first()).absolutePath();
    if (replace)
        replaceFiles(target, *answer);
    else
        addToFiles(target, *answer);
}

void PlaylistEditorModel::replaceFiles(const FileColumn& target, const QStringList& paths) {
    if (paths.size() < 2) {
        m_dialogs.error(QStringLiteral("YOU NEED TO CHOOSE AT LEAST TWO VIDEO FILES."));
        return;
    }
    const QString oldFolder = FileOps::withTrailingSeparator(m_playlist.*target.folder);
    m_playlist.*target.folder = FileOps::withTrailingSeparator(folderOf(paths.first()));
    m_cursor.hideBox();
    // Only this column is replaced: other columns and rows past the selection keep their text.
    for (qsizetype i = 0; i < paths.size(); ++i) {
        if (i >= m_playlist.rows.size())
            m_playlist.rows.append(PlaylistEntry{});
        PlaylistEntry& row = m_playlist.rows[i];
        QString& name = row.*target.field;
        const bool another = target.column == FlashColumn && !name.isEmpty() &&
                             oldFolder + name != m_playlist.*target.folder + nameOf(paths[i]);
        name = nameOf(paths[i]);
        if (another)
            dropWhatBelongsToAnotherVideo(row);
    }
}

void PlaylistEditorModel::dropWhatBelongsToAnotherVideo(PlaylistEntry& row) {
    row.Captions.clear();
    if (!copyMatchesFlashName(row.Mp4File, row.FlashFile))
        row.Mp4File.clear();
    if (!copyMatchesFlashName(row.WebmFile, row.FlashFile))
        row.WebmFile.clear();
}

void PlaylistEditorModel::addToFiles(const FileColumn& target, const QStringList& paths) {
    QString& folder = m_playlist.*target.folder;
    if (!folder.isEmpty() && !endsInSeparator(folder))
        folder += FileOps::separator();
    // All files of a column share one folder; an exact comparison, as the web server's is.
    if (FileOps::withTrailingSeparator(folderOf(paths.first())) != folder) {
        m_dialogs.error(
            QStringLiteral("TO ADD FILES THE FILES SHOULD BE IN THE SAME FOLDER AS THE PREVIOUS "
                           "FILES WHICH IS ") +
            folder);
        return;
    }
    qsizetype start = 0;
    while (start < m_playlist.rows.size() && !(m_playlist.rows[start].*target.field).isEmpty())
        ++start;
    if (start == m_playlist.rows.size() || start < 2) {
        m_playlist.rows.append(PlaylistEntry{});
        start = m_playlist.rows.size() - 1;
    }
    for (qsizetype i = 0; i < paths.size(); ++i) {
        if (start + i >= m_playlist.rows.size())
            m_playlist.rows.append(PlaylistEntry{});
        m_playlist.rows[start + i].*target.field = nameOf(paths[i]);
    }
}

bool PlaylistEditorModel::holdsAnything() const {
    return std::any_of(m_playlist.rows.begin(), m_playlist.rows.end(), [](const PlaylistEntry& r) {
        return !r.Captions.isEmpty() ||
               std::any_of(std::begin(kColumnFields), std::end(kColumnFields),
                           [&r](QString PlaylistEntry::*field) { return !(r.*field).isEmpty(); });
    });
}

void PlaylistEditorModel::clearPlaylist() {
    if (holdsAnything() &&
        !m_dialogs.confirm(QStringLiteral("DO YOU WANT TO CLEAR THE WHOLE PLAYLIST?")))
        return;
    m_playlist.rows = {PlaylistEntry{}};
    setCurrentCell(std::min(m_cursor.row(), 1), m_cursor.column());
    applyLayout(m_playlist.layout);
}

bool PlaylistEditorModel::makeMissingCopiesEnabled() const {
    return fileButtonsEnabled() && std::any_of(m_playlist.rows.begin(), m_playlist.rows.end(),
                                               [](const PlaylistEntry& row) {
                                                   return !row.FlashFile.isEmpty() &&
                                                          row.Mp4File.isEmpty();
                                               });
}

void PlaylistEditorModel::useCopies(const QList<std::pair<int, QString>>& pathsByRow, bool webm) {
    if (pathsByRow.isEmpty())
        return;
    QString PlaylistEntry::*field = webm ? &PlaylistEntry::WebmFile : &PlaylistEntry::Mp4File;
    m_playlist.*(webm ? &Playlist::WebMVideoFilesPath : &Playlist::Mp4VideoFilesPath) =
        FileOps::withTrailingSeparator(folderOf(pathsByRow.first().second));
    for (const auto& [row, path] : pathsByRow) {
        if (row >= 0 && row < m_playlist.rows.size())
            m_playlist.rows[row].*field = nameOf(path);
    }
}

void PlaylistEditorModel::useCopies(const QList<Html5CopyJob>& ready, Html5Format format) {
    QList<std::pair<int, QString>> paths;
    for (const Html5CopyJob& job : ready)
        paths.append({job.row, job.target});
    useCopies(paths, format == Html5Format::WebM);
}

void PlaylistEditorModel::makeMissingCopies(const Html5CopyRunner& runner) {
    if (!makeMissingCopiesEnabled())
        return;
    const Html5Format format = Html5Format::Mp4;
    useCopies(makeCopies(Html5CopyTargets::missingInPlaylist(m_playlist, format), format, runner),
              format);
}

bool PlaylistEditorModel::checkData(bool silent) {
    const PlaylistEntry& first = m_playlist.rows.first();
    if (first.FlashFile.isEmpty()) {
        if (!silent) {
            m_dialogs.error(QStringLiteral("FLV FILES MISSING"));
            addFlashFiles();
        }
        return false;
    }
    if (html5Files() && first.Mp4File.isEmpty()) {
        if (!silent) {
            m_dialogs.error(QStringLiteral("MP4 FILES MISSING"));
            addMp4Files();
        }
        return false;
    }
    const PlaylistLayout layout = m_playlist.layout;
    for (int r = 1; r <= rowCount(); ++r) {
        const PlaylistEntry& e = m_playlist.rows[r - 1];
        if (e.Title.trimmed().isEmpty())
            return failRow(silent, r, TitleColumn, QStringLiteral("TITLE MISSING FOR "));
        if (layout == PlaylistLayout::TitleDesc && e.Description.trimmed().isEmpty())
            return failRow(silent, r, DescColumn, QStringLiteral("DESCRIPTION MISSING FOR "));
        if (layout == PlaylistLayout::TitleDescThumb && e.Thumbnail.isEmpty())
            return failRow(silent, r, ThumbColumn, QStringLiteral("THUMBNAIL MISSING FOR "));
    }
    return true;
}

bool PlaylistEditorModel::failRow(bool silent, int row, int column, const QString& message) {
    if (!silent) {
        m_dialogs.error(message + m_playlist.rows[row - 1].FlashFile);
        pointAt(row, column);
    }
    return false;
}

void PlaylistEditorModel::pointAt(int row, int column) {
    setCurrentCell(row, column);
    // The user's next keys are meant for the cell the message named. A window that places its
    // box only after this call gives it the focus then: a box still hidden, in a window the
    // message box has just left, takes none.
    m_cursor.wantBoxFocus();
    m_views.focusControl(isEditableColumn(column) ? EditBox : Grid);
}

void PlaylistEditorModel::savePlaylist() {
    const std::optional<QString> path = m_files.chooseSaveFile();
    if (!path || !checkData(false))
        return;
    if (m_files.write(*path, m_playlist, html5Files(),
                      [this](int row, int column) { pointAt(row, column); }))
        setCaptionFor(*path);
}

bool PlaylistEditorModel::loadPlaylist() {
    const std::optional<PlaylistFileCommands::Loaded> loaded = m_files.load();
    if (!loaded)
        return false;
    takePlaylist(loaded->contents, loaded->path);
    return true;
}

void PlaylistEditorModel::takePlaylist(const PlaylistFile::Contents& contents,
                                       const QString& path) {
    if (contents.position)
        selectPosition(*contents.position);
    m_playlist.rows = contents.rows;
    m_cursor.home();
    // The layout of the file decides which of the row fields stay.
    applyLayout(contents.layout.value_or(m_playlist.layout));
    setHtml5Files(contents.html5Files);
    m_playlist.FLVVideoFilesPath = contents.FLVVideoFilesPath;
    m_playlist.Mp4VideoFilesPath = contents.Mp4VideoFilesPath;
    m_playlist.WebMVideoFilesPath = contents.WebMVideoFilesPath;
    m_playlist.ThumbImagesPath = contents.ThumbImagesPath;
    setCaptionFor(path);
}

void PlaylistEditorModel::setCaptionFor(const QString& path) {
    // Windows shortens a long folder to its 8.3 form here; other systems show it as it is.
    m_caption = kCaption + QLatin1Char(' ') + path;
}

PlaylistEntry* PlaylistEditorModel::currentEntry() {
    const int row = m_cursor.row();
    return row >= 1 && row <= rowCount() ? &m_playlist.rows[row - 1] : nullptr;
}

QString* PlaylistEditorModel::cell(int row, int column) {
    if (row < 1 || row > rowCount() || column < 0 || column >= columnCount())
        return nullptr;
    return &(m_playlist.rows[row - 1].*kColumnFields[column]);
}

QString PlaylistEditorModel::cellText(int row, int column) const {
    if (column < 0 || column >= columnCount() || row < 0 || row > rowCount())
        return {};
    return row == 0 ? headerText(column) : m_playlist.rows[row - 1].*kColumnFields[column];
}

QString PlaylistEditorModel::gridText(int row, int column) const {
    const QString text = cellText(row, column);
    if (row < 1 || column != FlashColumn || row > rowCount())
        return text;
    const qsizetype tracks = m_playlist.rows[row - 1].Captions.size();
    if (tracks == 0)
        return text;
    const QString marker =
        tracks == 1 ? QStringLiteral("[CC] ") : QStringLiteral("[CC %1] ").arg(tracks);
    return marker + text;
}

QString PlaylistEditorModel::captionsToolTip(int row) const {
    if (row < 1 || row > rowCount() || m_playlist.rows[row - 1].Captions.isEmpty())
        return {};
    const PlaylistEntry& entry = m_playlist.rows[row - 1];
    QStringList tracks;
    for (const CaptionTrack& track : entry.Captions) {
        const QString name = nameOf(track.path);
        tracks.append(track.language.isEmpty()
                          ? name
                          : name + QStringLiteral(" (") + track.language + QLatin1Char(')'));
    }
    return QStringLiteral("Caption tracks of ") + entry.FlashFile + QStringLiteral(": ") +
           tracks.join(QStringLiteral(", "));
}

void PlaylistEditorModel::setCellText(int row, int column, const QString& text) {
    // File names come from the file commands and thumbnails from the thumbnail choice only.
    if (column != TitleColumn && column != DescColumn)
        return;
    if (QString* target = cell(row, column)) {
        QString clean = text;
        clean.remove(QLatin1Char('|'));
        *target = clean;
    }
}

void PlaylistEditorModel::setCurrentCell(int row, int column) {
    m_cursor.enter(row, column, rowCount(), columnCount());
    m_textOnEntry = cellText(m_cursor.row(), m_cursor.column());
}

void PlaylistEditorModel::cancelCellEdit() {
    setCellText(m_cursor.row(), m_cursor.column(), m_textOnEntry);
    m_cursor.hideBox();
    m_cursor.hideChooser();
}

void PlaylistEditorModel::pressKey(Key key) {
    if (const std::optional<GridCursor::Cell> cell =
            m_cursor.keyTarget(key, rowCount(), columnCount()))
        setCurrentCell(cell->row, cell->column);
}

void PlaylistEditorModel::editBoxDoubleClicked() {
    if (m_cursor.column() == ThumbColumn)
        chooseThumbnail();
}

void PlaylistEditorModel::chooseThumbnail() {
    if (m_playlist.layout != PlaylistLayout::TitleDescThumb || !currentEntry())
        return;
    const std::optional<QStringList> answer = m_dialogs.openFiles(
        {QStringLiteral("Attention: All your images for thumbnails should be from same folder!"),
         QStringLiteral("JPEG files (*.jpg)|*.jpg|"), false, m_playlist.ThumbImagesPath});
    if (!answer || answer->isEmpty())
        return;
    const QString name = nameOf(answer->first());
    if (name.contains(QLatin1Char('|'))) {
        m_dialogs.error(QStringLiteral(
            "A THUMBNAIL IMAGE NAME CANNOT HOLD \"|\". PLEASE RENAME THE IMAGE AND CHOOSE IT "
            "AGAIN."));
        return;
    }
    // One folder for all thumbnails: the last choice decides it for every row.
    m_playlist.ThumbImagesPath = folderOf(answer->first());
    currentEntry()->Thumbnail = name;
}

std::optional<PlaylistEditorModel::RowMenu> PlaylistEditorModel::rowMenuAt(int row, int column) {
    if (column < FlashColumn || column > WebmColumn || row < 1 || row > rowCount())
        return std::nullopt;
    setCurrentCell(row, column);
    const QString& name = m_playlist.rows[row - 1].FlashFile;
    if (name.isEmpty())
        return std::nullopt;
    const qsizetype tracks = m_playlist.rows[row - 1].Captions.size();
    const auto ifTracks = [tracks](const QString& text) { return tracks == 0 ? QString() : text; };
    return RowMenu{
        QStringLiteral("Move ") + quoted(name) + QStringLiteral(" up"),
        QStringLiteral("Move ") + quoted(name) + QStringLiteral(" down"),
        QStringLiteral("Remove ") + quoted(name),
        QStringLiteral("Add captions to ") + quoted(name) + QStringLiteral("..."),
        ifTracks(QStringLiteral("Caption languages and labels of ") + quoted(name) +
                 QStringLiteral("...")),
        ifTracks(QStringLiteral("Remove the %1 caption track(s) of ").arg(tracks) + quoted(name))};
}

void PlaylistEditorModel::addCaptionsToVideo() {
    if (!currentEntry())
        return;
    const CaptionTracks chosen = chooseCaptionTracks();
    currentEntry()->Captions += chosen;
}

void PlaylistEditorModel::removeCaptionsOfVideo() {
    if (PlaylistEntry* entry = currentEntry())
        entry->Captions.clear();
}

void PlaylistEditorModel::editCaptionsOfVideo(const CaptionTracksEditor& edit) {
    PlaylistEntry* entry = currentEntry();
    if (!entry || entry->Captions.isEmpty())
        return;
    CaptionTracksDialogModel dialog(entry->FlashFile, entry->Captions);
    if (edit(dialog))
        entry->Captions = dialog.tracks();
}

void PlaylistEditorModel::swapRows(int a, int b) {
    m_playlist.rows.swapItemsAt(a - 1, b - 1);
}

void PlaylistEditorModel::moveVideoUp() {
    const int row = m_cursor.row();
    if (row > 1 && row <= rowCount())
        swapRows(row, row - 1);
}

void PlaylistEditorModel::moveVideoDown() {
    const int row = m_cursor.row();
    if (row >= 1 && row < rowCount())
        swapRows(row, row + 1);
}

void PlaylistEditorModel::removeVideo() {
    const int row = m_cursor.row();
    if (row < 1 || row > rowCount())
        return;
    if (rowCount() <= 2) {
        m_dialogs.inform(
            QStringLiteral("YOU NEED A MINIMUM OF TWO VIDEO TRACKS FOR MULTITRACK VIDEO!"));
        return;
    }
    const QString& name = m_playlist.rows[row - 1].FlashFile;
    if (!m_dialogs.confirm(QStringLiteral("REMOVE ") + name + QStringLiteral(" FROM PLAYLIST ?")))
        return;
    m_playlist.rows.removeAt(row - 1);
    setCurrentCell(row, m_cursor.column());
}
