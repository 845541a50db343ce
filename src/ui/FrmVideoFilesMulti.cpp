#include "ui/FrmVideoFilesMulti.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/MainController.h"
#include "ui/DialogParts.h"
#include "ui/FrmCaptionTracks.h"
#include "ui/FrmHtml5Copies.h"

using DialogParts::button;

namespace {

QRadioButton* option(QWidget* owner, const QString& name, const QString& caption) {
    auto* o = new QRadioButton(caption, owner);
    o->setObjectName(name);
    return o;
}

QAction* menuEntry(QMenu* menu, const QString& name, const QString& caption) {
    QAction* entry = menu->addAction(caption);
    entry->setObjectName(name);
    return entry;
}

// The row commands name the row's file, whose "&" a menu would otherwise take for the mark of
// an access key (and hide).
QString literal(const QString& text) {
    return QString(text).replace(u'&', QStringLiteral("&&"));
}

// The row commands' access keys, on a letter of their own words: the first of that letter for
// the words before the file's name, the last for those after it.
void markRowMenuKeys(const QMenu& menu) {
    static const struct {
        const char* entry;
        QChar letter;
        bool last;
    } keys[] = {{"mnuMoveUpVideo", u'u', true},   {"mnuMoveDownVideo", u'd', true},
                {"mnuRemoveVideo", u'r', false},  {"mnuAddCaptions", u'a', false},
                {"mnuEditCaptions", u'c', false}, {"mnuRemoveCaptions", u'p', false}};
    for (const auto& key : keys) {
        QAction* entry = menu.findChild<QAction*>(QLatin1String(key.entry));
        QString text = entry->text();
        const qsizetype at = key.last ? text.lastIndexOf(key.letter, -1, Qt::CaseInsensitive)
                                      : text.indexOf(key.letter, 0, Qt::CaseInsensitive);
        if (at >= 0 && !QKeySequence::mnemonic(text).count())
            entry->setText(text.insert(at, u'&'));
    }
}

std::optional<PlaylistEditorModel::Key> editorKey(int key) {
    switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return PlaylistEditorModel::Key::Enter;
        case Qt::Key_Down:
            return PlaylistEditorModel::Key::Down;
        case Qt::Key_Up:
            return PlaylistEditorModel::Key::Up;
        case Qt::Key_Left:
            return PlaylistEditorModel::Key::Left;
        case Qt::Key_Right:
            return PlaylistEditorModel::Key::Right;
        default:
            return std::nullopt;
    }
}

constexpr Qt::Alignment kCellAlignment = Qt::AlignLeft | Qt::AlignBottom;

}  // namespace

FrmVideoFilesMulti::FrmVideoFilesMulti(MainController& controller, QWidget* parent)
    : FrmVideoFiles(controller.playlistEditor(), parent), m_editor(controller.playlistEditor()) {
    setObjectName(QStringLiteral("frmVideoFilesMulti"));
    setModal(true);
    createControls();
    buildLayout();
    connectCommands();
    connectGrid();
    showEditor();
}

void FrmVideoFilesMulti::createControls() {
    flxPlayListDetails = new QTableWidget(this);
    flxPlayListDetails->setObjectName(QStringLiteral("flxPlayListDetails"));
    flxPlayListDetails->setToolTip(
        DialogParts::toolTip(QStringLiteral("Right click on any row to move up down or delete "
                                            "entire row")));
    flxPlayListDetails->setEditTriggers(QAbstractItemView::NoEditTriggers);
    flxPlayListDetails->setSelectionMode(QAbstractItemView::SingleSelection);
    flxPlayListDetails->verticalHeader()->hide();
    flxPlayListDetails->horizontalHeader()->setDefaultAlignment(kCellAlignment);

    // The edit box and its button float over the cells, so they live in the grid's viewport.
    txtEditGrid =
        DialogParts::lineEdit(flxPlayListDetails->viewport(), QStringLiteral("txtEditGrid"));
    txtEditGrid->hide();
    cmdGetThumbImage =
        button(flxPlayListDetails->viewport(), QStringLiteral("cmdGetThumbImage"),
               QStringLiteral("..."), QStringLiteral("Browse and add image for thumbnail"));
    cmdGetThumbImage->hide();

    mnuMenuVideo = new QMenu(QStringLiteral("Video"), this);
    mnuMenuVideo->setObjectName(QStringLiteral("mnuMenuVideo"));
    mnuMoveUpVideo = menuEntry(mnuMenuVideo, QStringLiteral("mnuMoveUpVideo"), QString());
    mnuMoveDownVideo = menuEntry(mnuMenuVideo, QStringLiteral("mnuMoveDownVideo"), QString());
    mnuMenuVideo->addSeparator();
    mnuRemoveVideo = menuEntry(mnuMenuVideo, QStringLiteral("mnuRemoveVideo"), QString());
    mnuMenuVideo->addSeparator();
    mnuAddCaptions = menuEntry(mnuMenuVideo, QStringLiteral("mnuAddCaptions"), QString());
    mnuEditCaptions = menuEntry(mnuMenuVideo, QStringLiteral("mnuEditCaptions"), QString());
    mnuRemoveCaptions = menuEntry(mnuMenuVideo, QStringLiteral("mnuRemoveCaptions"), QString());
    connect(mnuMenuVideo, &QMenu::aboutToShow, this, [this] { markRowMenuKeys(*mnuMenuVideo); });

    opt1 = option(this, QStringLiteral("opt1"), QStringLiteral("Playlist with Video Title &Only"));
    opt2 = option(this, QStringLiteral("opt2"),
                  QStringLiteral("Playlist with Video Title && &Description"));
    opt3 = option(this, QStringLiteral("opt3"),
                  QStringLiteral("Playlist with Video Title, Description && &Thumbnail Image"));
    optPLRight =
        option(this, QStringLiteral("optPLRight"), QStringLiteral("Ri&ght of Video Player"));
    optPLBottom =
        option(this, QStringLiteral("optPLBottom"), QStringLiteral("&Bottom of Video Player"));
    optPLInvisible = option(this, QStringLiteral("optPLInvisible"), QStringLiteral("&Invisible"));

    chkHtml5 = new QCheckBox(QStringLiteral("Additional Video Files for HTML5 Support"), this);
    chkHtml5->setObjectName(QStringLiteral("chkHtml5"));
    cmdFLVFiles =
        button(this, QStringLiteral("cmdFLVFiles"), QStringLiteral("Locate &FLV/Mp4 Files"),
               QStringLiteral("Primary video file for Flash player in any of the two formats FLV "
                              "or Mp4 (extensions Mp4/F4V/M4V)"));
    cmdMp4Files = button(this, QStringLiteral("cmdMp4Files"), QStringLiteral("Locate &Mp4 Files"),
                         QStringLiteral("iOS and Android compatible Mp4 (extensions Mp4/F4V/M4V)"));
    cmdWebmFiles =
        button(this, QStringLiteral("cmdWebmFiles"), QStringLiteral("Locate &WebM Files"),
               QStringLiteral("WebM video file for support on browsers like Firefox IF "
                              "Flash is turned off (optional)"));
    cmdMakeCopies = button(
        this, QStringLiteral("cmdMakeCopies"), QStringLiteral("Make missing HTML5 co&pies"),
        QStringLiteral("Make an Mp4 copy of every Flash video that has none, in the Mp4 folder "
                       "or beside the Flash videos, and fill the rows with them"));
    cmdClearPlaylist =
        button(this, QStringLiteral("cmdClearPlaylist"), QStringLiteral("Clea&r Playlist"),
               QStringLiteral("Clear all playlist data"));
    cmdLoadPlaylist =
        button(this, QStringLiteral("cmdLoadPlaylist"), QStringLiteral("&Load Playlist from File"),
               QStringLiteral("Load playlist data"));
    cmdSavePlaylist =
        button(this, QStringLiteral("cmdSavePlaylist"), QStringLiteral("&Save Playlist as File"),
               QStringLiteral("Save playlist as data"));
    cmdSave = button(this, QStringLiteral("cmdSave"), QStringLiteral("Save and E&xit"),
                     QStringLiteral("Save"));
    cmdCancel = button(this, QStringLiteral("cmdCancel"), QStringLiteral("&Cancel"),
                       QStringLiteral("Close this window"));
    cmdHelp = button(this, QStringLiteral("cmdHelp"), QStringLiteral("&Help"),
                     QStringLiteral("Quick help on selecting video files"));

    lblFLVVideoFilesPath = DialogParts::label(this, QStringLiteral("lblFLVVideoFilesPath"), {});
    lblMp4VideoFilesPath = DialogParts::label(this, QStringLiteral("lblMp4VideoFilesPath"), {});
    lblWebMVideoFilesPath = DialogParts::label(this, QStringLiteral("lblWebMVideoFilesPath"), {});
    lblThumbImagesPath = DialogParts::label(this, QStringLiteral("lblThumbImagesPath"), {});
}

void FrmVideoFilesMulti::buildLayout() {
    auto* files = new QGridLayout;
    const QList<std::pair<QPushButton*, QLabel*>> rows = {{cmdFLVFiles, lblFLVVideoFilesPath},
                                                          {cmdMp4Files, lblMp4VideoFilesPath},
                                                          {cmdWebmFiles, lblWebMVideoFilesPath}};
    for (int i = 0; i < rows.size(); ++i) {
        files->addWidget(rows[i].first, i, 0);
        files->addWidget(rows[i].second, i, 1);
        // A long folder is cut off at the dialog's edge instead of widening the dialog.
        rows[i].second->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    }
    files->addWidget(cmdMakeCopies, 1, 2);
    files->addWidget(new QLabel(QStringLiteral("Thumbnail images:"), this), 3, 0);
    files->addWidget(lblThumbImagesPath, 3, 1);
    lblThumbImagesPath->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    files->setColumnStretch(1, 1);

    auto* layouts =
        new QGroupBox(QStringLiteral("Select the type of playlist that you want"), this);
    auto* layoutBox = new QVBoxLayout(layouts);
    for (QRadioButton* o : {opt1, opt2, opt3}) {
        o->setParent(layouts);
        layoutBox->addWidget(o);
    }
    auto* positions = new QGroupBox(QStringLiteral("Position of the playlist"), this);
    auto* positionBox = new QVBoxLayout(positions);
    for (QRadioButton* o : {optPLRight, optPLBottom, optPLInvisible}) {
        o->setParent(positions);
        positionBox->addWidget(o);
    }
    auto* choices = new QHBoxLayout;
    choices->addWidget(layouts, 2);
    choices->addWidget(positions, 1);

    auto* details = new QGroupBox(
        QStringLiteral("Playlist details (You can move tracks up and down and remove them by "
                       "right-clicking your mouse on first column):"),
        this);
    (new QVBoxLayout(details))->addWidget(flxPlayListDetails);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {cmdHelp, cmdClearPlaylist, cmdLoadPlaylist, cmdSavePlaylist})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(cmdSave);
    buttons->addWidget(cmdCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(files);
    layout->addWidget(chkHtml5);
    layout->addLayout(choices);
    layout->addWidget(details, 1);
    layout->addLayout(buttons);
    resize(defaultSize());
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
        {cmdSavePlaylist, [&editor] { editor.savePlaylist(); }},
        {cmdCancel, [&editor] { editor.cancel(); }},
        {cmdHelp, [&editor] { editor.help(); }},
        {cmdGetThumbImage, [&editor] { editor.chooseThumbnail(); }},
    };
    for (const auto& entry : commands) {
        const std::function<void()> command = entry.second;
        connect(entry.first, &QPushButton::clicked, this, [this, command] { forward(command); });
    }
    connect(cmdLoadPlaylist, &QPushButton::clicked, this,
            [this] { forward([this] { m_editor.loadPlaylist(); }); });
    connect(cmdSave, &QPushButton::clicked, this,
            [this] { forward([this] { m_editor.save(); }, Accepted); });

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

    connect(mnuMoveUpVideo, &QAction::triggered, this,
            [this] { forward([this] { m_editor.moveVideoUp(); }); });
    connect(mnuMoveDownVideo, &QAction::triggered, this,
            [this] { forward([this] { m_editor.moveVideoDown(); }); });
    connect(mnuRemoveVideo, &QAction::triggered, this,
            [this] { forward([this] { m_editor.removeVideo(); }); });
    connect(mnuAddCaptions, &QAction::triggered, this,
            [this] { forward([this] { m_editor.addCaptionsToVideo(); }); });
    connect(mnuEditCaptions, &QAction::triggered, this, [this] {
        forward([this] {
            m_editor.editCaptionsOfVideo([this](CaptionTracksDialogModel& tracks) {
                FrmCaptionTracks dialog(tracks, this);
                return dialog.exec() == QDialog::Accepted;
            });
        });
    });
    connect(mnuRemoveCaptions, &QAction::triggered, this,
            [this] { forward([this] { m_editor.removeCaptionsOfVideo(); }); });
}

void FrmVideoFilesMulti::connectGrid() {
    connect(flxPlayListDetails, &QTableWidget::currentCellChanged, this,
            [this](int row, int column) { enterCell(row, column); });
    connect(flxPlayListDetails, &QTableWidget::cellClicked, this,
            [this](int row, int column) { enterCell(row, column); });
    // Only the user's own scrolling (scroll bar, wheel) leaves the cell and hides the edit box.
    // The grid also scrolls by itself to bring the current cell into view, a moment after a
    // click on a partly visible cell; the box and its button then follow the cell and keep the
    // focus, so what the user types still lands in that cell.
    for (QScrollBar* bar :
         {flxPlayListDetails->verticalScrollBar(), flxPlayListDetails->horizontalScrollBar()}) {
        connect(bar, &QScrollBar::actionTriggered, this, [this] {
            m_editor.scrolled();
            placeCellControls(false);
        });
        connect(bar, &QScrollBar::valueChanged, this, [this] { placeCellControls(false); });
    }
    connect(flxPlayListDetails->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this] { placeCellControls(false); });

    connect(txtEditGrid, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_editor.setCurrentCellText(text);
        // The editor refuses some characters; the box shows what the cell really holds.
        const QString held = m_editor.cellText(m_editor.currentRow(), m_editor.currentColumn());
        if (held != text) {
            const int cursor = txtEditGrid->cursorPosition();
            txtEditGrid->setText(held);
            txtEditGrid->setCursorPosition(std::min(cursor, int(held.size())));
        }
        if (QTableWidgetItem* item = flxPlayListDetails->currentItem())
            item->setText(held);
    });
    txtEditGrid->installEventFilter(this);
    flxPlayListDetails->viewport()->installEventFilter(this);
}

void FrmVideoFilesMulti::enterCell(int gridRow, int column) {
    if (m_syncing || gridRow < 0 || column < 0)
        return;
    m_editor.setCurrentCell(gridRow + 1, column);
    showCurrentCell(true);
}

bool FrmVideoFilesMulti::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtEditGrid) {
        if (event->type() == QEvent::KeyPress)
            return editBoxKey(static_cast<QKeyEvent*>(event)->key());
        if (event->type() == QEvent::FocusIn)
            showCurrentCell(false);
        if (event->type() == QEvent::MouseButtonDblClick) {
            forward([this] { m_editor.editBoxDoubleClicked(); });
            return true;
        }
    } else if (watched == flxPlayListDetails->viewport() &&
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

bool FrmVideoFilesMulti::editBoxKey(int key) {
    // Escape ends the cell's edit, never the whole editor as the dialog's own Escape would.
    if (key == Qt::Key_Escape) {
        m_editor.cancelCellEdit();
        showEditor();
        return true;
    }
    const std::optional<PlaylistEditorModel::Key> editorKey = ::editorKey(key);
    if (!editorKey)
        return false;
    const int row = m_editor.currentRow();
    const int column = m_editor.currentColumn();
    if (*editorKey != PlaylistEditorModel::Key::Enter)
        flxPlayListDetails->setFocus(Qt::OtherFocusReason);
    m_editor.pressKey(*editorKey);
    const bool moved = row != m_editor.currentRow() || column != m_editor.currentColumn();
    showCurrentCell(moved);
    return true;
}

void FrmVideoFilesMulti::rightButtonReleased(const QPoint& pos) {
    const QModelIndex index = flxPlayListDetails->indexAt(pos);
    const int row = index.isValid() ? index.row() + 1 : 0;
    const std::optional<PlaylistEditorModel::RowMenu> menu =
        m_editor.rowMenuAt(row, index.isValid() ? index.column() : -1);
    showCurrentCell(false);
    if (!menu)
        return;
    mnuMoveUpVideo->setText(literal(menu->moveUp));
    mnuMoveDownVideo->setText(literal(menu->moveDown));
    mnuRemoveVideo->setText(literal(menu->remove));
    mnuAddCaptions->setText(literal(menu->addCaptions));
    // Both caption commands keep their place in the menu and are only disabled without tracks.
    mnuEditCaptions->setText(menu->editCaptions.isEmpty()
                                 ? QStringLiteral("Caption languages and labels...")
                                 : literal(menu->editCaptions));
    mnuEditCaptions->setEnabled(!menu->editCaptions.isEmpty());
    mnuRemoveCaptions->setText(menu->removeCaptions.isEmpty() ? QStringLiteral("Remove captions")
                                                              : literal(menu->removeCaptions));
    mnuRemoveCaptions->setEnabled(!menu->removeCaptions.isEmpty());
    mnuMenuVideo->popup(flxPlayListDetails->viewport()->mapToGlobal(pos));
}

void FrmVideoFilesMulti::showEditor(bool focusBox) {
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
    chkHtml5->setChecked(m_editor.html5Files());
    chkHtml5->setEnabled(m_editor.html5CheckEnabled());
    enableHtml5Command(cmdMp4Files, m_editor.mp4FilesEnabled());
    enableHtml5Command(cmdWebmFiles, m_editor.webmFilesEnabled());
    enableHtml5Command(cmdMakeCopies, m_editor.makeMissingCopiesEnabled());
    lblFLVVideoFilesPath->setText(playlist.FLVVideoFilesPath);
    lblMp4VideoFilesPath->setText(playlist.Mp4VideoFilesPath);
    lblWebMVideoFilesPath->setText(playlist.WebMVideoFilesPath);
    lblThumbImagesPath->setText(playlist.ThumbImagesPath);
    showGrid();
    showCurrentCell(m_editor.takeEditBoxFocus() || focusBox);
}

void FrmVideoFilesMulti::showGrid() {
    m_syncing = true;
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
    m_syncing = false;
}

void FrmVideoFilesMulti::showCurrentCell(bool focusBox) {
    m_syncing = true;
    const int row = m_editor.currentRow() - 1;
    if (row < 0)
        flxPlayListDetails->setCurrentCell(-1, -1);
    else
        flxPlayListDetails->setCurrentCell(row, m_editor.currentColumn());
    m_syncing = false;
    placeCellControls(focusBox);
}

void FrmVideoFilesMulti::placeCellControls(bool focusBox) {
    const int row = m_editor.currentRow() - 1;
    const int column = m_editor.currentColumn();
    const QTableWidgetItem* item = flxPlayListDetails->item(row, column);
    const QRect cell = item ? flxPlayListDetails->visualItemRect(item) : QRect();
    // A focused box that hides passes the focus on as a Tab would, and the grid takes a Tab as
    // a move to the next cell; the grid takes the focus first, so the current cell stays.
    if (!m_editor.editBoxVisible() && txtEditGrid->hasFocus())
        flxPlayListDetails->setFocus(Qt::OtherFocusReason);
    txtEditGrid->setVisible(m_editor.editBoxVisible());
    txtEditGrid->setReadOnly(m_editor.editBoxLocked());
    // A locked cell is chosen through the image chooser: no caret, and no I-beam pointer that
    // would invite typing.
    txtEditGrid->setCursor(m_editor.editBoxLocked() ? Qt::ArrowCursor : Qt::IBeamCursor);
    if (m_editor.editBoxVisible()) {
        txtEditGrid->setGeometry(cell);
        const QString text = m_editor.cellText(row + 1, column);
        if (txtEditGrid->text() != text)
            txtEditGrid->setText(text);
        if (focusBox)
            txtEditGrid->setFocus(Qt::OtherFocusReason);
    }
    cmdGetThumbImage->setVisible(m_editor.thumbButtonVisible());
    if (m_editor.thumbButtonVisible()) {
        const int width = std::min(cell.height() + 4, cell.width());
        cmdGetThumbImage->setGeometry(cell.left() + cell.width() - width, cell.top(), width,
                                      cell.height());
        cmdGetThumbImage->raise();
    }
}
