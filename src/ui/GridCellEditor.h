#pragma once

#include <QObject>

class PlaylistEditorModel;
class QLineEdit;
class QPushButton;
class QTableWidget;

// The edit box txtEditGrid laid over the playlist grid's current cell, with the image chooser
// cmdGetThumbImage beside it on a thumbnail cell. The box opens where the editor says a cell
// takes typing, writes each change straight into the editor, moves with the keys the editor
// handles, and follows the cell when the grid scrolls or resizes its columns; Escape gives the
// cell back its text. Both controls come from the window's form and move into the grid's
// viewport, so they scroll and clip with the cells.
class GridCellEditor : public QObject {
    Q_OBJECT

  public:
    GridCellEditor(PlaylistEditorModel& editor, QTableWidget& grid, QLineEdit& box,
                   QPushButton& chooser, QObject* parent);

    // Makes the editor's current cell the grid's, then lays the box and its chooser over it;
    // with focusBox the box takes the focus when it shows.
    void showCurrentCell(bool focusBox);

  signals:
    // Escape ended the cell's edit: the cell holds its old text again, which the window shows.
    void editCancelled();
    // A double-click in the box, which the editor answers (a thumbnail cell opens the chooser).
    void boxDoubleClicked();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void connectGrid();
    void enterCell(int gridRow, int column);
    void typed(const QString& text);
    bool boxKey(int key);
    // Lays the box and the chooser over the current cell as the grid shows it now.
    void placeOverCell(bool focusBox);

    PlaylistEditorModel& m_editor;
    QTableWidget& m_grid;
    QLineEdit& m_box;
    QPushButton& m_chooser;
    bool m_syncing = false;
};
