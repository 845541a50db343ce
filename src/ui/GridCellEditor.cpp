#include "ui/GridCellEditor.h"

#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <algorithm>
#include <optional>

#include "models/PlaylistEditorModel.h"

namespace {

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

}  // namespace

GridCellEditor::GridCellEditor(PlaylistEditorModel& editor, QTableWidget& grid, QLineEdit& box,
                               QPushButton& chooser, QObject* parent)
    : QObject(parent), m_editor(editor), m_grid(grid), m_box(box), m_chooser(chooser) {
    // Moved within one window, the two keep their place in its tab order.
    m_box.setParent(m_grid.viewport());
    m_box.hide();
    m_chooser.setParent(m_grid.viewport());
    m_chooser.hide();
    connectGrid();
}

void GridCellEditor::connectGrid() {
    connect(&m_grid, &QTableWidget::currentCellChanged, this,
            [this](int row, int column) { enterCell(row, column); });
    connect(&m_grid, &QTableWidget::cellClicked, this,
            [this](int row, int column) { enterCell(row, column); });
    // Only the user's own scrolling (scroll bar, wheel) leaves the cell and hides the edit box.
    // The grid also scrolls by itself to bring the current cell into view, a moment after a
    // click on a partly visible cell; the box and its button then follow the cell and keep the
    // focus, so what the user types still lands in that cell.
    for (QScrollBar* bar : {m_grid.verticalScrollBar(), m_grid.horizontalScrollBar()}) {
        connect(bar, &QScrollBar::actionTriggered, this, [this] {
            m_editor.scrolled();
            placeOverCell(false);
        });
        connect(bar, &QScrollBar::valueChanged, this, [this] { placeOverCell(false); });
    }
    connect(m_grid.horizontalHeader(), &QHeaderView::sectionResized, this,
            [this] { placeOverCell(false); });
    connect(&m_box, &QLineEdit::textEdited, this, &GridCellEditor::typed);
    m_box.installEventFilter(this);
}

void GridCellEditor::enterCell(int gridRow, int column) {
    if (m_syncing || gridRow < 0 || column < 0)
        return;
    m_editor.setCurrentCell(gridRow + 1, column);
    showCurrentCell(true);
}

void GridCellEditor::typed(const QString& text) {
    m_editor.setCurrentCellText(text);
    // The editor refuses some characters; the box shows what the cell really holds.
    const QString held = m_editor.cellText(m_editor.currentRow(), m_editor.currentColumn());
    if (held != text) {
        const int cursor = m_box.cursorPosition();
        m_box.setText(held);
        m_box.setCursorPosition(std::min(cursor, int(held.size())));
    }
    if (QTableWidgetItem* item = m_grid.currentItem())
        item->setText(held);
}

bool GridCellEditor::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &m_box) {
        if (event->type() == QEvent::KeyPress)
            return boxKey(static_cast<QKeyEvent*>(event)->key());
        if (event->type() == QEvent::FocusIn)
            showCurrentCell(false);
        if (event->type() == QEvent::MouseButtonDblClick) {
            emit boxDoubleClicked();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

bool GridCellEditor::boxKey(int key) {
    // Escape ends the cell's edit, never the whole editor as the dialog's own Escape would.
    if (key == Qt::Key_Escape) {
        m_editor.cancelCellEdit();
        emit editCancelled();
        return true;
    }
    const std::optional<PlaylistEditorModel::Key> editorKey = ::editorKey(key);
    if (!editorKey)
        return false;
    const int row = m_editor.currentRow();
    const int column = m_editor.currentColumn();
    if (*editorKey != PlaylistEditorModel::Key::Enter)
        m_grid.setFocus(Qt::OtherFocusReason);
    m_editor.pressKey(*editorKey);
    const bool moved = row != m_editor.currentRow() || column != m_editor.currentColumn();
    showCurrentCell(moved);
    return true;
}

void GridCellEditor::showCurrentCell(bool focusBox) {
    m_syncing = true;
    const int row = m_editor.currentRow() - 1;
    if (row < 0)
        m_grid.setCurrentCell(-1, -1);
    else
        m_grid.setCurrentCell(row, m_editor.currentColumn());
    m_syncing = false;
    placeOverCell(focusBox);
}

void GridCellEditor::placeOverCell(bool focusBox) {
    const int row = m_editor.currentRow() - 1;
    const int column = m_editor.currentColumn();
    const QTableWidgetItem* item = m_grid.item(row, column);
    const QRect cell = item ? m_grid.visualItemRect(item) : QRect();
    // A focused box that hides passes the focus on as a Tab would, and the grid takes a Tab as
    // a move to the next cell; the grid takes the focus first, so the current cell stays.
    if (!m_editor.editBoxVisible() && m_box.hasFocus())
        m_grid.setFocus(Qt::OtherFocusReason);
    m_box.setVisible(m_editor.editBoxVisible());
    m_box.setReadOnly(m_editor.editBoxLocked());
    // A locked cell is chosen through the image chooser: no caret, and no I-beam pointer that
    // would invite typing.
    m_box.setCursor(m_editor.editBoxLocked() ? Qt::ArrowCursor : Qt::IBeamCursor);
    if (m_editor.editBoxVisible()) {
        m_box.setGeometry(cell);
        const QString text = m_editor.cellText(row + 1, column);
        if (m_box.text() != text)
            m_box.setText(text);
        if (focusBox)
            m_box.setFocus(Qt::OtherFocusReason);
    }
    m_chooser.setVisible(m_editor.thumbButtonVisible());
    if (m_editor.thumbButtonVisible()) {
        const int width = std::min(cell.height() + 4, cell.width());
        m_chooser.setGeometry(cell.left() + cell.width() - width, cell.top(), width, cell.height());
        m_chooser.raise();
    }
}
