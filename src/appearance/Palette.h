#pragma once

#include <QString>
#include <QtGlobal>
#include <array>

// The tints offered for a skin: 18 tint boxes (three rows of six, index 0 top left), the colour
// set when the palette is applied, and the message that tells the user which kind of tint suits
// the skin.
class Palette {
  public:
    static constexpr int BoxCount = 18;
    enum class Kind { Dark, Light };

    static const Palette& dark();
    static const Palette& light();
    // The dark palette for a dark skin (SkinList::isDark), the light one for every other.
    static const Palette& forSkin(const QString& skinName);

    Kind kind() const { return m_kind; }
    // The colour text that applying the palette puts into the tint box.
    QString colourText() const { return m_colourText; }
    // The colour text of tint box `index` (0 to 17).
    QString boxText(int index) const;
    // Its colour number, as the box shows it.
    quint32 boxColour(int index) const;
    QString message() const;

  private:
    Palette(Kind kind, QString colourText, std::array<QString, BoxCount> boxes);

    Kind m_kind;
    QString m_colourText;
    std::array<QString, BoxCount> m_boxes;
};
