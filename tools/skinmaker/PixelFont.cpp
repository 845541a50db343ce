#include "PixelFont.h"

namespace {

struct Glyph {
    char letter;
    const char* rows[PixelFont::GlyphHeight];
};

const Glyph Glyphs[] = {
    {'S', {".###.", "#...#", "#....", ".###.", "....#", "#...#", ".###."}},
    {'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
    {'a', {".....", ".....", ".###.", "....#", ".####", "#...#", ".####"}},
    {'e', {".....", ".....", ".###.", "#...#", "#####", "#....", ".###."}},
    {'h', {"#....", "#....", "#.##.", "##..#", "#...#", "#...#", "#...#"}},
    {'r', {".....", ".....", "#.##.", "##..#", "#....", "#....", "#...."}},
    {'t', {".#...", ".#...", "###..", ".#...", ".#...", ".#..#", "..##."}},
    {'w', {".....", ".....", "#...#", "#...#", "#.#.#", "#.#.#", ".#.#."}},
};

}  // namespace

const char* const* PixelFont::glyph(QChar letter) {
    for (const Glyph& g : Glyphs) {
        if (QLatin1Char(g.letter) == letter)
            return g.rows;
    }
    return nullptr;
}

int PixelFont::width(const QString& text, int scale) {
    if (text.isEmpty())
        return 0;
    return int(text.size()) * (GlyphWidth + Spacing) * scale - Spacing * scale;
}

void PixelFont::draw(QPainter& painter, QPoint topLeft, const QString& text, const QColor& color,
                     int scale) {
    int x = topLeft.x();
    for (QChar letter : text) {
        if (const char* const* rows = glyph(letter)) {
            for (int row = 0; row < GlyphHeight; ++row) {
                for (int col = 0; col < GlyphWidth; ++col) {
                    if (rows[row][col] == '#')
                        painter.fillRect(x + col * scale, topLeft.y() + row * scale, scale, scale,
                                         color);
                }
            }
        }
        x += (GlyphWidth + Spacing) * scale;
    }
}
