#pragma once

#include <QList>
#include <QRect>
#include <QWidget>

// pctPlayerColorTint(0..17): the skin's palette as one control, three rows of six swatches with
// index 0 at the top left. It is one tab stop: the arrow keys move the current swatch along its
// grid, Space or Enter picks it, and a click picks the swatch under the pointer. A frame marks the
// current swatch while the control has the focus.
class TintSwatches : public QWidget {
    Q_OBJECT

  public:
    static constexpr int Columns = 6;
    static constexpr int Rows = 3;

    explicit TintSwatches(QWidget* parent = nullptr);

    // The colours as colour numbers (red + 256 * green + 65536 * blue); a palette may have fewer
    // than 18, and only those are shown.
    void setColours(const QList<quint32>& colours);
    int count() const { return static_cast<int>(m_colours.size()); }
    int current() const { return m_current; }
    // Where swatch `index` is drawn, in the control's coordinates.
    QRect swatchRect(int index) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

  signals:
    void picked(int index);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    int indexAt(const QPoint& point) const;
    void moveTo(int index);

    QList<quint32> m_colours;
    int m_current = 0;
};
