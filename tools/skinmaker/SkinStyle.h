#pragma once

#include <QColor>
#include <QSize>
#include <QString>
#include <optional>

// What a skin's name promises the program, turned into the look skinmaker draws. The program
// reads the height the skin adds to the video from characters 6 and 7 of the name, picks the
// tint palette by "dark", and treats "float" as a floating control bar, so the drawn skin must
// agree with its name.
struct SkinStyle {
    QString name;
    int allowance = 0;  // pixels the control bar adds below the video
    bool dark = false;
    bool floatingBar = false;

    // The player the skin is drawn for: the usual 480 x 270 video plus the skin's bar.
    static constexpr int VideoWidth = 480;
    static constexpr int VideoHeight = 270;

    // Empty when characters 6 and 7 are not two digits.
    static std::optional<SkinStyle> fromName(const QString& name);

    QSize playerSize() const { return {VideoWidth, VideoHeight + allowance}; }
    QColor barColor() const;
    QColor controlColor() const;
};
