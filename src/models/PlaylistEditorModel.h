#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <utility>

#include "media/Playlist.h"
#include "media/PlaylistFile.h"
#include "models/GridCursor.h"
#include "models/PlaylistFileCommands.h"
#include "models/VideoFilesDialogModel.h"

class CaptionTracksDialogModel;
class Dialogs;
class SelectionHost;
class Views;

// The dialog frmVideoFilesMulti without its widgets: the playlist of a multi-video project, its
// layout and position, the HTML5 mirror chkHtml5, the grid flxPlayListDetails as data (current
// cell, edit box txtEditGrid, thumbnail button cmdGetThumbImage, row menu mnuMenuVideo) and the
// commands. The dialog lives for the whole run and is only ever hidden, so generation reads the
// playlist straight from here.
class PlaylistEditorModel : public VideoFilesDialogModel {
  public:
    // Grid columns; data rows count from 1 under the header row 0.
    enum Column { FlashColumn, Mp4Column, WebmColumn, TitleColumn, DescColumn, ThumbColumn };
    using Key = GridCursor::Key;

    struct RowMenu {
        QString moveUp;          // mnuMoveUpVideo
        QString moveDown;        // mnuMoveDownVideo
        QString remove;          // mnuRemoveVideo
        QString addCaptions;     // mnuAddCaptions
        QString editCaptions;    // mnuEditCaptions; empty when the row has no captions
        QString removeCaptions;  // mnuRemoveCaptions; empty when the row has none
    };
    // Shows the dialog of a row's caption tracks until it is closed; true when its OK took the
    // tracks as they are now.
    using CaptionTracksEditor = std::function<bool(CaptionTracksDialogModel&)>;

    static const QString kCaption;  // "Select Videos & Build Playlist"

    PlaylistEditorModel(SelectionHost& host, Dialogs& dialogs, Views& views);

    // Runs every time the dialog is shown: re-applies the layout and brings Html5Files in line
    // with the main window.
    void show() override;

    void selectLayout(PlaylistLayout layout);        // opt1, opt2, opt3
    void selectPosition(PlaylistPosition position);  // optPLRight, optPLBottom, optPLInvisible

    void addFlashFiles();  // cmdFLVFiles
    void addMp4Files();    // cmdMp4Files
    void addWebmFiles();   // cmdWebmFiles
    // cmdClearPlaylist: asks first unless the grid holds nothing.
    void clearPlaylist();
    // Fills the rows' Mp4 (or WebM) cells with the copies just made for them, as choosing the
    // files would: row (0-based) to full path; all paths share one folder, which becomes the
    // column's folder.
    void useCopies(const QList<std::pair<int, QString>>& pathsByRow, bool webm);
    // The same for the jobs of a batch, each filling its own row.
    void useCopies(const QList<Html5CopyJob>& ready, Html5Format format);
    // "Make missing HTML5 copies": an Mp4 copy for every row with a Flash file and none, all in
    // one batch, the rows filled as the copies are there; nothing when the command is not enabled.
    void makeMissingCopies(const Html5CopyRunner& runner);
    void savePlaylist();  // cmdSavePlaylist
    // cmdLoadPlaylist. True when a file was read into the editor; a cancel or a failure is false
    // and leaves the playlist as it was.
    bool loadPlaylist();
    // The contents of the playlist file at `path`, read whole, in place of the playlist: rows,
    // folders, HTML5 choice, and the position and layout the file sets.
    void takePlaylist(const PlaylistFile::Contents& contents, const QString& path);

    // True when the playlist is complete. Unless silent, explains the first problem and opens
    // the file choice for it or puts the current cell on the cell that needs input.
    bool checkData(bool silent) override;

    // The grid.
    static QString headerText(int column);
    static int columnWidthTwips(int column);
    static bool isEditableColumn(int column) { return column >= TitleColumn; }
    int columnCount() const { return playlistFieldCount(m_playlist.layout); }
    int rowCount() const { return int(m_playlist.rows.size()); }  // data rows
    QString cellText(int row, int column) const;
    // The cell as the grid shows it: the Flash cell of a row with caption tracks begins with
    // "[CC] " ("[CC 2] " for two), so the rows with captions stand out; the file name stays.
    QString gridText(int row, int column) const;
    // The names (and languages) of the row's caption files; empty for a row without any.
    QString captionsToolTip(int row) const;
    // Typing into the edit box writes through at once. Only title, description and thumbnail
    // cells take text, and a "|" never enters them: the playlist file separates fields with it.
    void setCellText(int row, int column, const QString& text);
    void setCurrentCellText(const QString& text) {
        setCellText(m_cursor.row(), m_cursor.column(), text);
    }

    // Entering a cell (mouse, keys or a command): the edit box follows onto editable cells.
    void setCurrentCell(int row, int column);
    int currentRow() const { return m_cursor.row(); }
    int currentColumn() const { return m_cursor.column(); }
    void pressKey(Key key);
    // Escape in the edit box: the cell holds again what it held when it was entered, and the box
    // leaves it; the current cell stays.
    void cancelCellEdit();
    void scrolled() { m_cursor.hideBox(); }
    bool editBoxVisible() const { return m_cursor.boxVisible(); }
    bool editBoxLocked() const { return m_cursor.boxLocked(); }
    bool thumbButtonVisible() const { return m_cursor.chooserVisible(); }
    // True once after a message put the current cell on a cell to fill: the window gives its
    // edit box the focus when it has placed it there.
    bool takeEditBoxFocus() { return m_cursor.takeBoxFocus(); }

    // The "..." button and a double-click in a thumbnail cell.
    void chooseThumbnail();
    void editBoxDoubleClicked();

    // Releasing the right mouse button over a cell: the row menu to pop up, if any. Makes the cell
    // current when the pointer is over a file column of a data row, so no edit box opens.
    std::optional<RowMenu> rowMenuAt(int row, int column);
    void moveVideoUp();    // mnuMoveUpVideo
    void moveVideoDown();  // mnuMoveDownVideo
    void removeVideo();    // mnuRemoveVideo
    // The current row's caption tracks: files added after those it has (each read first, the
    // language from its name), or all of them removed.
    void addCaptionsToVideo();     // mnuAddCaptions
    void removeCaptionsOfVideo();  // mnuRemoveCaptions
    // The current row's tracks with their language and label, as `edit` leaves them when the
    // user takes them; a cancel leaves the row as it was.
    void editCaptionsOfVideo(const CaptionTracksEditor& edit);  // mnuEditCaptions

    const Playlist& playlist() const { return m_playlist; }
    bool mp4FilesEnabled() const { return fileButtonsEnabled(); }
    bool webmFilesEnabled() const { return fileButtonsEnabled(); }
    // "Make missing HTML5 copies": HTML5 on and a row with a Flash file and no Mp4 file.
    bool makeMissingCopiesEnabled() const;
    bool layoutChoiceEnabled() const { return m_layoutChoiceEnabled; }
    QString caption() const { return m_caption; }

  private:
    struct FileColumn {
        int column;
        QString PlaylistEntry::*field;
        QString Playlist::*folder;
        QString filter;
    };

    void addFiles(const FileColumn& target);
    // Replacing the Flash column: each row whose Flash file changes gets a new video.
    void replaceFiles(const FileColumn& target, const QStringList& names);
    void dropWhatBelongsToAnotherVideo(PlaylistEntry& row);
    bool holdsAnything() const;
    void addToFiles(const FileColumn& target, const QStringList& names);
    void applyLayout(PlaylistLayout layout);
    bool failRow(bool silent, int row, int column, const QString& message);
    // After a message about a cell: makes it current, with the keyboard focus on it.
    void pointAt(int row, int column);
    void setCaptionFor(const QString& path);
    void swapRows(int a, int b);
    QString* cell(int row, int column);
    // The playlist row of the current cell; none on the header row.
    PlaylistEntry* currentEntry();

    PlaylistFileCommands m_files;
    Playlist m_playlist;
    bool m_layoutChoiceEnabled = true;
    QString m_caption;
    // Where "Replace" opens the file dialog: the folder of the most recent selection.
    QString m_lastSelectionFolder;
    GridCursor m_cursor{TitleColumn, ThumbColumn};
    QString m_textOnEntry;  // the current cell's text when it was entered
};
