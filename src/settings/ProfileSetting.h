#pragma once

#include <QtGlobal>
#include <variant>

#include "settings/ProjectSettings.h"

// One line of the profile file: where it is stored, the name scripts use for it (the field name),
// the name the user knows it by from the window, how its text is read, the field it holds, and
// the main window's control that shows it (its object name; none for a setting that another
// dialog edits or that a command sets together with others).
struct ProfileSetting {
    enum class Kind {
        Mode,           // "SIN" or "MUL" and the streaming-mode digit
        Check,          // "0" or "1"
        Index,          // a list index (16-bit, -1 for no selection)
        ColourNumber,   // a 32-bit colour, red + 256 * green + 65536 * blue
        Text,           // one line of text
        MultiLineText,  // text that keeps its CR LF pairs
        FileName,       // a plain file name: no folder, no way out of the output folder
    };
    // The mode line holds two fields (Multiple and streamingMode), so it names none.
    using Field = std::variant<std::monostate, bool ProjectSettings::*, int ProjectSettings::*,
                               quint32 ProjectSettings::*, QString ProjectSettings::*>;

    int line;
    const char* key;
    const char* label;
    Kind kind;
    Field field;
    const char* control = nullptr;
};
