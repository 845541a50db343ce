#pragma once

#include <QString>

// Characters that are not text: the C0 controls, DEL and the C1 controls. No field of a profile
// or playlist file is meant to hold one, and most of them make the generated configuration XML
// ill-formed (XML 1.0 has no way to write U+0000 to U+001F other than tab and the line breaks,
// not even as a character reference). The C1 controls are refused too: the five Windows-1252
// bytes without a character read back as C1 controls, and a browser shows none of them.
class ControlCharacters {
  public:
    // Whether a text may keep tab, CR and LF: only the multi-line boxes of the main window
    // (the end-of-video HTML code) hold those.
    enum class Breaks { Refused, Allowed };

    static bool isControl(QChar c);
    // Index of the first control character the text may not hold, or -1.
    static qsizetype firstIndex(const QString& text, Breaks breaks = Breaks::Refused);
    // How a message shows a character of a refused value: quoted as typed, or for a control
    // character, which shows as nothing, by its code ("CONTROL CODE 0").
    static QString shown(const QString& character);
};
