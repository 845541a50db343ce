#pragma once

#include <QString>

// User text placed into generated files is escaped for where it lands, so the file stays valid and
// what the browser or the player reads is exactly what the user typed. Text without special
// characters comes back unchanged, byte for byte.
namespace Escaping {

// The generated files are read in character sets we do not know (the configuration file says
// UTF-8, a page's scripts take the page's): every character beyond ASCII is written as a
// character reference (XML, HTML) or a \u escape (JavaScript), which every reader turns back
// into it.
//
// XML element content: & < >.
QString xmlText(const QString& text);
// XML attribute value in double quotes: & < > " and, so they survive reading, CR, LF and tab.
QString xmlAttribute(const QString& text);
// Inside a JavaScript string literal delimited by `quote` (' or "): the quote, the backslash, CR,
// LF and "</" (which would end the surrounding script element) get backslash escapes.
QString jsString(const QString& text, QChar quote);
// A value in a URL query: percent-encodes what would end or change the value or the surrounding
// attribute and script (blank, " ' # % & + < > \ and controls) and non-ASCII characters (as their
// UTF-8 bytes); everything else, ":" and "/" included, stays as typed.
QString queryValue(const QString& text);
// A file name that ends an address the browser requests: "%", "#" and "?" are percent-encoded,
// since the browser would read them as an escape, a fragment or a query. Everything else stays as
// typed (the browser encodes blanks and non-ASCII itself), so other names keep their bytes.
QString addressFileName(const QString& name);

}  // namespace Escaping
