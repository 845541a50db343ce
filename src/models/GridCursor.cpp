#include "models/GridCursor.h"

#include <algorithm>

void GridCursor::enter(int row, int column, int rows, int columns) {
    m_row = std::clamp(row, 0, rows);
    m_column = std::clamp(column, 0, columns - 1);
    m_boxVisible = m_row >= 1 && m_column >= m_firstTyped;
    // The clamp keeps the chooser's column for the layouts that have it.
    m_boxLocked = m_column == m_chooserColumn;
    m_chooserVisible = m_boxLocked && m_boxVisible;
}

std::optional<GridCursor::Cell> GridCursor::keyTarget(Key key, int rows, int columns) const {
    switch (key) {
        case Key::Enter:
        case Key::Right:
            if (m_column < columns - 1)
                return Cell{m_row, m_column + 1};
            break;
        case Key::Down:
            if (m_row < rows)
                return Cell{m_row + 1, m_column};
            break;
        case Key::Up:
            if (m_row > 1)
                return Cell{m_row - 1, m_column};
            break;
        case Key::Left:
            if (m_column > 0)
                return Cell{m_row, m_column - 1};
            break;
    }
    return std::nullopt;
}
