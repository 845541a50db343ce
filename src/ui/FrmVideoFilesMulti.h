#pragma once

#include "models/PlaylistEditorModel.h"
#include "ui/FrmVideoFiles.h"

class MainController;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QTableWidget;

// frmVideoFilesMulti, "Select Videos & Build Playlist": shows the controller's playlist editor and
// forwards every event of its controls to it. The grid mirrors the editor's cells; the edit box
// txtEditGrid floats over the current cell and writes each change straight into the editor. The
// editor decides when the dialog closes; the dialog hides itself then. Create it once and show it
// again for every use: it holds no state of its own.
class FrmVideoFilesMulti : public FrmVideoFiles {
    Q_OBJECT

  public:
    explicit FrmVideoFilesMulti(MainController& controller, QWidget* parent = nullptr);

  protected:
    void showState() override { showEditor(); }
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void createControls();
    void buildLayout();
    int columnWidth(int column) const;  // in pixels
    QSize defaultSize();
    void connectCommands();
    // Every row's missing Mp4 copy, made behind one progress window.
    void makeMissingCopies();
    void connectGrid();
    void enterCell(int gridRow, int column);
    bool editBoxKey(int key);
    void rightButtonReleased(const QPoint& pos);
    // Shows the editor's state; with focusBox the edit box takes the focus when it is shown.
    void showEditor(bool focusBox = false);
    void showGrid();
    // Makes the editor's current cell the grid's, then places the edit box and its button.
    void showCurrentCell(bool focusBox);
    // Lays the edit box and the thumbnail button over the current cell as the grid shows it now.
    void placeCellControls(bool focusBox);

    PlaylistEditorModel& m_editor;
    bool m_syncing = false;

    QTableWidget* flxPlayListDetails;
    QLineEdit* txtEditGrid;
    QPushButton* cmdGetThumbImage;
    QMenu* mnuMenuVideo;
    QAction* mnuMoveUpVideo;
    QAction* mnuMoveDownVideo;
    QAction* mnuRemoveVideo;
    QAction* mnuAddCaptions;
    QAction* mnuEditCaptions;
    QAction* mnuRemoveCaptions;
    QRadioButton* opt1;
    QRadioButton* opt2;
    QRadioButton* opt3;
    QRadioButton* optPLRight;
    QRadioButton* optPLBottom;
    QRadioButton* optPLInvisible;
    QCheckBox* chkHtml5;
    QPushButton* cmdFLVFiles;
    QPushButton* cmdMp4Files;
    QPushButton* cmdWebmFiles;
    QPushButton* cmdMakeCopies;
    QPushButton* cmdClearPlaylist;
    QPushButton* cmdLoadPlaylist;
    QPushButton* cmdSavePlaylist;
    QPushButton* cmdSave;
    QPushButton* cmdCancel;
    QPushButton* cmdHelp;
    QLabel* lblFLVVideoFilesPath;
    QLabel* lblMp4VideoFilesPath;
    QLabel* lblWebMVideoFilesPath;
    QLabel* lblThumbImagesPath;
};
