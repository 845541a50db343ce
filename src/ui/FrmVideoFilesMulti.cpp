#include "ui/FrmVideoFilesMulti.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QStyle>

#include "app/MainController.h"
#include "ui/FrmCaptionTracks.h"
#include "ui/FrmHtml5Copies.h"
#include "ui/GridCellEditor.h"
#include "ui/PlaylistRowMenu.h"

namespace {

constexpr Qt::Alignment kCellAlignment = Qt::AlignLeft | Qt::AlignBottom;

}  // namespace

FrmVideoFilesMulti::FrmVideoFilesMulti(MainController& controller, QWidget* parent)
    : FrmVideoFiles(controller.playlistEditor(), parent), m_editor(controller.playlistEditor()) {
    setupUi(this);
    // The form has no property for the headers' alignment; the header row is laid out as the
    // cells below it.
    flxPlayListDetails->horizontalHeader()->setDefaultAlignment(kCellAlignment);
    m_rowMenu = new PlaylistRowMenu(this);
    resize(defaultSize());
    m_cellEditor =
        new GridCellEditor(m_editor, *flxPlayListDetails, *txtEditGrid, *cmdGetThumbImage, this);
    takeCommonControls({chkHtml5, cmdSave, cmdCancel, cmdHelp});
    connectCommands();
    connectOptions();
    connectRowMenu();
    connect(m_cellEditor, &GridCellEditor::editCancelled, this, [this] { refresh(); });
    connect(m_cellEditor, &GridCellEditor::boxDoubleClicked, this,
            [this] { forward([this] { m_editor.editBoxDoubleClicked(); }); });
    flxPlayListDetails->viewport()->installEventFilter(this);
    refresh();
}

int FrmVideoFilesMulti::columnWidth(int column) const {
    return PlaylistEditorModel::columnWidthTwips(column) * logicalDpiX() / 1440;
}

// Wide enough for every column of the widest layout beside a vertical scroll bar, so no layout
// needs scrolling sideways; at 96 dpi that is about 1260 x 620, which leaves room on a 1280 x 720
// screen for the window frame and a desktop panel.
QSize FrmVideoFilesMulti::defaultSize() {
    constexpr int kHeight = 620;
    int columns = 0;
    for (int c = 0; c < playlistFieldCount(PlaylistLayout::TitleDescThumb); ++c)
        columns += columnWidth(c);
    // The margins around the grid are known once the layouts (the window's, then the group
    // box's) have placed it; a hidden window lays itself out only when asked.
    resize(columns, kHeight);
    layout()->setGeometry(rect());
    QWidget& box = *flxPlayListDetails->parentWidget();
    box.layout()->setGeometry(box.contentsRect());
    const QTableWidget& grid = *flxPlayListDetails;
    const int around = width() - grid.width() + 2 * grid.frameWidth() +
                       style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &grid);
    return {columns + around, kHeight};
}

void FrmVideoFilesMulti::makeMissingCopies() {
    m_editor.makeMissingCopies([this](Html5CopyBatch& batch) {
        FrmHtml5Copies progress(this);
        progress.run(batch, QStringLiteral("the playlist's Flash videos"));
    });
}

void FrmVideoFilesMulti::connectCommands() {
    PlaylistEditorModel& editor = m_editor;
    const std::pair<QPushButton*, std::function<void()>> commands[] = {
        {cmdFLVFiles, [&editor] { editor.addFlashFiles(); }},
        {cmdMp4Files, [&editor] { editor.addMp4Files(); }},
        {cmdWebmFiles, [&editor] { editor.addWebmFiles(); }},
        {cmdMakeCopies, [this] { makeMissingCopies(); }},
        {cmdClearPlaylist, [&editor] { editor.clearPlaylist(); }},
        {cmdLoadPlaylist, [&editor] { editor.loadPlaylist(); }},
        {cmdSavePlaylist, [&editor] { editor.savePlaylist(); }},
        {cmdGetThumbImage, [&editor] { editor.chooseThumbnail(); }},
    };
    for (const auto& entry : commands) {
        const std::function<void()> command = entry.second;
        connect(entry.first, &QPushButton::clicked, this, [this, command] { forward(command); });
    }
}

void FrmVideoFilesMulti::connectOptions() {
    const std::pair<QRadioButton*, PlaylistLayout> layouts[] = {
        {opt1, PlaylistLayout::TitleOnly},
        {opt2, PlaylistLayout::TitleDesc},
        {opt3, PlaylistLayout::TitleDescThumb}};
    for (const auto& [control, layout] : layouts)
        connect(control, &QRadioButton::clicked, this, [this, layout = layout] {
            forward([this, layout] { m_editor.selectLayout(layout); });
        });
    const std::pair<QRadioButton*, PlaylistPosition> positions[] = {
        {optPLRight, PlaylistPosition::Right},
        {optPLBottom, PlaylistPosition::Bottom},
        {optPLInvisible, PlaylistPosition::Invisible}};
    for (const auto& [control, position] : positions)
        connect(control, &QRadioButton::clicked, this, [this, position = position] {
            forward([this, position] { m_editor.selectPosition(position); });
        });
}

void FrmVideoFilesMulti::connectRowMenu() {
    PlaylistEditorModel& editor = m_editor;
    const PlaylistRowMenu::Entries& menu = m_rowMenu->entries();
    const std::pair<QAction*, std::function<void()>> entries[] = {
        {menu.moveUp, [&editor] { editor.moveVideoUp(); }},
        {menu.moveDown, [&editor] { editor.moveVideoDown(); }},
        {menu.remove, [&editor] { editor.removeVideo(); }},
        {menu.addCaptions, [&editor] { editor.addCaptionsToVideo(); }},
        {menu.editCaptions,
         [this] {
             m_editor.editCaptionsOfVideo([this](CaptionTracksDialogModel& tracks) {
                 FrmCaptionTracks dialog(tracks, this);
                 return dialog.exec() == QDialog::Accepted;
             });
         }},
        {menu.removeCaptions, [&editor] { editor.removeCaptionsOfVideo(); }},
    };
    for (const auto& entry : entries) {
        const std::function<void()> command = entry.second;
        connect(entry.first, &QAction::triggered, this, [this, command] { forward(command); });
    }
}

bool FrmVideoFilesMulti::eventFilter(QObject* watched, QEvent* event) {
    if (watched == flxPlayListDetails->viewport() &&
        (event->type() == QEvent::MouseButtonPress ||
         event->type() == QEvent::MouseButtonRelease)) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const bool right = mouse->button() == Qt::RightButton;
        // The right button opens the row menu and never moves the grid's current cell itself.
        if (right && event->type() == QEvent::MouseButtonRelease)
            rightButtonReleased(mouse->position().toPoint());
        if (right)
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void FrmVideoFilesMulti::rightButtonReleased(const QPoint& pos) {
    const QModelIndex index = flxPlayListDetails->indexAt(pos);
    const int row = index.isValid() ? index.row() + 1 : 0;
    const std::optional<PlaylistEditorModel::RowMenu> menu =
        m_editor.rowMenuAt(row, index.isValid() ? index.column() : -1);
    m_cellEditor->showCurrentCell(false);
    if (menu)
        m_rowMenu->openFor(*menu, flxPlayListDetails->viewport()->mapToGlobal(pos));
}

void FrmVideoFilesMulti::showState() {
    const Playlist& playlist = m_editor.playlist();
    setWindowTitle(m_editor.caption());
    // The options report clicks only, so setting them here calls nothing back.
    opt1->setChecked(playlist.layout == PlaylistLayout::TitleOnly);
    opt2->setChecked(playlist.layout == PlaylistLayout::TitleDesc);
    opt3->setChecked(playlist.layout == PlaylistLayout::TitleDescThumb);
    for (QRadioButton* o : {opt1, opt2, opt3})
        o->setEnabled(m_editor.layoutChoiceEnabled());
    optPLRight->setChecked(playlist.position == PlaylistPosition::Right);
    optPLBottom->setChecked(playlist.position == PlaylistPosition::Bottom);
    optPLInvisible->setChecked(playlist.position == PlaylistPosition::Invisible);
    enableHtml5Command(cmdMp4Files, m_editor.mp4FilesEnabled());
    enableHtml5Command(cmdWebmFiles, m_editor.webmFilesEnabled());
    enableHtml5Command(cmdMakeCopies, m_editor.makeMissingCopiesEnabled());
    lblFLVVideoFilesPath->setText(playlist.FLVVideoFilesPath);
    lblMp4VideoFilesPath->setText(playlist.Mp4VideoFilesPath);
    lblWebMVideoFilesPath->setText(playlist.WebMVideoFilesPath);
    lblThumbImagesPath->setText(playlist.ThumbImagesPath);
    showGrid();
    m_cellEditor->showCurrentCell(m_editor.takeEditBoxFocus());
}

void FrmVideoFilesMulti::showGrid() {
    // Refilling moves the grid's current cell; the editor's stays where it is.
    const QSignalBlocker quiet(flxPlayListDetails);
    QTableWidget& grid = *flxPlayListDetails;
    const int columns = m_editor.columnCount();
    grid.setColumnCount(columns);
    grid.setRowCount(m_editor.rowCount());
    for (int c = 0; c < columns; ++c) {
        const QSignalBlocker blocker(grid.horizontalHeader());
        grid.setColumnWidth(c, columnWidth(c));
        if (!grid.horizontalHeaderItem(c))
            grid.setHorizontalHeaderItem(c, new QTableWidgetItem);
        grid.horizontalHeaderItem(c)->setText(PlaylistEditorModel::headerText(c));
        for (int r = 0; r < grid.rowCount(); ++r) {
            QTableWidgetItem* item = grid.item(r, c);
            if (!item) {
                item = new QTableWidgetItem;
                item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
                item->setTextAlignment(kCellAlignment);
                grid.setItem(r, c, item);
            }
            item->setText(m_editor.gridText(r + 1, c));
            if (c == PlaylistEditorModel::FlashColumn)
                item->setToolTip(m_editor.captionsToolTip(r + 1));
        }
    }
}
