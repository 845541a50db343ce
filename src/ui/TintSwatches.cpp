#include "ui/TintSwatches.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr int kWidth = 34;
constexpr int kHeight = 22;
constexpr int kSpacing = 4;
// Room around the grid for the focus frame, which stands outside its swatch.
constexpr int kMargin = 3;

QColor colourOf(quint32 number) {
    return {int(number & 0xFF), int((number >> 8) & 0xFF), int((number >> 16) & 0xFF)};
}

}  // namespace

TintSwatches::TintSwatches(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("pctPlayerColorTint"));
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void TintSwatches::setColours(const QList<quint32>& colours) {
    if (colours == m_colours)
        return;
    m_colours = colours.mid(0, Columns * Rows);
    m_current = qBound(0, m_current, qMax(0, count() - 1));
    update();
}

QRect TintSwatches::swatchRect(int index) const {
    const int column = index % Columns;
    const int row = index / Columns;
    return {kMargin + column * (kWidth + kSpacing), kMargin + row * (kHeight + kSpacing), kWidth,
            kHeight};
}

QSize TintSwatches::sizeHint() const {
    return {2 * kMargin + Columns * kWidth + (Columns - 1) * kSpacing,
            2 * kMargin + Rows * kHeight + (Rows - 1) * kSpacing};
}

int TintSwatches::indexAt(const QPoint& point) const {
    for (int i = 0; i < count(); ++i)
        if (swatchRect(i).contains(point))
            return i;
    return -1;
}

void TintSwatches::moveTo(int index) {
    if (index < 0 || index >= count() || index == m_current)
        return;
    m_current = index;
    update();
}

void TintSwatches::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(QColor(0x5a, 0x5a, 0x5a));
    for (int i = 0; i < count(); ++i) {
        painter.setBrush(colourOf(m_colours[i]));
        painter.drawRect(swatchRect(i).adjusted(0, 0, -1, -1));
    }
    if (!hasFocus() || count() == 0)
        return;
    // Two frames, dark inside light, show on every swatch colour.
    const QRect current = swatchRect(m_current);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
    painter.drawRect(current.adjusted(-2, -2, 1, 1));
    painter.setPen(QPen(palette().color(QPalette::Base), 1));
    painter.drawRect(current.adjusted(0, 0, -1, -1));
}

// Left and right stay in their row, up and down in their column.
void TintSwatches::keyPressEvent(QKeyEvent* event) {
    const int column = m_current % Columns;
    switch (event->key()) {
        case Qt::Key_Left:
            if (column > 0)
                moveTo(m_current - 1);
            break;
        case Qt::Key_Right:
            if (column < Columns - 1)
                moveTo(m_current + 1);
            break;
        case Qt::Key_Up:
            moveTo(m_current - Columns);
            break;
        case Qt::Key_Down:
            moveTo(m_current + Columns);
            break;
        case Qt::Key_Space:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (count() > 0)
                emit picked(m_current);
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    event->accept();
}

void TintSwatches::mouseReleaseEvent(QMouseEvent* event) {
    const int index = indexAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || index < 0) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    moveTo(index);
    emit picked(index);
}

void TintSwatches::focusInEvent(QFocusEvent* event) {
    update();
    QWidget::focusInEvent(event);
}

void TintSwatches::focusOutEvent(QFocusEvent* event) {
    update();
    QWidget::focusOutEvent(event);
}
