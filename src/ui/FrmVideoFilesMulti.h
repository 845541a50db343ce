#pragma once

#include "models/PlaylistEditorModel.h"
#include "ui/FrmVideoFiles.h"
#include "ui_FrmVideoFilesMulti.h"

class GridCellEditor;
class MainController;
class PlaylistRowMenu;

// frmVideoFilesMulti, "Select Videos & Build Playlist": shows the controller's playlist editor and
// forwards every event of its controls to it. The grid mirrors the editor's cells; the edit box
// over the current cell is the GridCellEditor's. The editor decides when the dialog closes; the
// dialog hides itself then. Create it once and show it again for every use: it holds no state of
// its own.
class FrmVideoFilesMulti : public FrmVideoFiles, private Ui::FrmVideoFilesMultiForm {
    Q_OBJECT

  public:
    explicit FrmVideoFilesMulti(MainController& controller, QWidget* parent = nullptr);

  protected:
    void showState() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    int columnWidth(int column) const;  // in pixels
    QSize defaultSize();
    void connectCommands();
    void connectOptions();
    void connectRowMenu();
    // Every row's missing Mp4 copy, made behind one progress window.
    void makeMissingCopies();
    void rightButtonReleased(const QPoint& pos);
    void showGrid();

    PlaylistEditorModel& m_editor;
    GridCellEditor* m_cellEditor;
    PlaylistRowMenu* m_rowMenu;
};
