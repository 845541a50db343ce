#pragma once

#include <QString>

// Turns a piece of HTML into one JavaScript statement, document.write(unescape("\x..")), that
// writes the same HTML while keeping it out of plain sight in the page source. It is an encoding,
// not a cipher: anyone can read it back.
class ScriptEscaper {
  public:
    // Empty for an empty text and for a text that already holds such a statement, so the escaping
    // is never applied twice. Otherwise a single line, whatever line breaks the text contains.
    static QString escape(const QString& text);
};
