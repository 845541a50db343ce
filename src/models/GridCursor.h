#pragma once

#include <optional>
#include <utility>

// The current cell of the playlist grid and what sits on it: where a key moves it, the edit box
// over a cell that takes typing, and the image chooser beside a locked box. Rows count from 1
// under the header row 0; the grid's size is given with each move, since rows and columns come
// and go with the playlist and its layout.
class GridCursor {
  public:
    // The keys the edit box handles itself.
    enum class Key { Enter, Down, Up, Left, Right };
    struct Cell {
        int row;
        int column;
    };

    // Columns from `firstTyped` on take the edit box; the box on `chooserColumn` is locked and
    // filled through the chooser button beside it.
    GridCursor(int firstTyped, int chooserColumn)
        : m_firstTyped(firstTyped), m_chooserColumn(chooserColumn) {}

    // Entering a cell (mouse, keys or a command), held within the grid: the box follows onto a
    // cell that takes typing, and the chooser onto a visible box of the chooser's column.
    void enter(int row, int column, int rows, int columns);
    // Where `key` leads from the current cell; none at the grid's edge, where the cell stays.
    std::optional<Cell> keyTarget(Key key, int rows, int columns) const;
    // A new playlist starts on the first file of the first row; the box stays as it was.
    void home() {
        m_row = 1;
        m_column = 0;
    }

    int row() const { return m_row; }
    int column() const { return m_column; }

    void hideBox() { m_boxVisible = false; }
    void hideChooser() { m_chooserVisible = false; }
    bool boxVisible() const { return m_boxVisible; }
    bool boxLocked() const { return m_boxLocked; }
    bool chooserVisible() const { return m_chooserVisible; }
    // After a message about the current cell the user's next keys are meant for it: the box,
    // when it shows, asks once for the focus.
    void wantBoxFocus() { m_focusBox = m_boxVisible; }
    bool takeBoxFocus() { return std::exchange(m_focusBox, false); }

  private:
    int m_firstTyped;
    int m_chooserColumn;
    int m_row = 1;
    int m_column = 0;
    bool m_boxVisible = false;
    bool m_boxLocked = false;
    bool m_chooserVisible = false;
    bool m_focusBox = false;
};
