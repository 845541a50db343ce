#include "formats/Escaping.h"

namespace Escaping {

namespace {

// The generated files are written in Windows-1252, while the configuration file declares UTF-8
// and the pages and scripts are read in whatever character set the visitor's page has. A numeric
// character reference means the same character to every reader, so only ASCII goes out as is.
qsizetype appendReference(QString& out, const QString& text, qsizetype i) {
    const bool pair =
        text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
    const char32_t code =
        pair ? QChar::surrogateToUcs4(text[i], text[i + 1]) : char32_t(text[i].unicode());
    out += QStringLiteral("&#") + QString::number(code) + u';';
    return pair ? 2 : 1;
}

QString replaceChars(const QString& text, bool quotes) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.unicode() >= 0x80) {
            i += appendReference(out, text, i) - 1;
            continue;
        }
        switch (c.unicode()) {
            case u'&':
                out += QStringLiteral("&amp;");
                break;
            case u'<':
                out += QStringLiteral("&lt;");
                break;
            case u'>':
                out += QStringLiteral("&gt;");
                break;
            case u'"':
                out += quotes ? QStringLiteral("&quot;") : QStringLiteral("\"");
                break;
            // An XML reader turns raw line breaks and tabs in an attribute into blanks.
            case u'\r':
                out += quotes ? QStringLiteral("&#13;") : QStringLiteral("\r");
                break;
            case u'\n':
                out += quotes ? QStringLiteral("&#10;") : QStringLiteral("\n");
                break;
            case u'\t':
                out += quotes ? QStringLiteral("&#9;") : QStringLiteral("\t");
                break;
            default:
                out += c;
        }
    }
    return out;
}

bool needsPercent(char16_t c) {
    if (c < 0x20 || c >= 0x7F)
        return true;
    switch (c) {
        case u' ':
        case u'"':
        case u'\'':
        case u'#':
        case u'%':
        case u'&':
        case u'+':
        case u'<':
        case u'>':
        case u'\\':
            return true;
        default:
            return false;
    }
}

}  // namespace

QString xmlText(const QString& text) {
    return replaceChars(text, false);
}

QString xmlAttribute(const QString& text) {
    return replaceChars(text, true);
}

QString jsString(const QString& text, QChar quote) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == quote || c == u'\\') {
            out += u'\\';
            out += c;
        } else if (c == u'\r') {
            out += QStringLiteral("\\r");
        } else if (c == u'\n') {
            out += QStringLiteral("\\n");
        } else if (c == u'<' && i + 1 < text.size() && text[i + 1] == u'/') {
            out += QStringLiteral("<\\/");
            ++i;
        } else if (c.unicode() >= 0x80) {
            // As for XML: an escape reads the same in any character set the script is read in.
            out += QStringLiteral("\\u") + QString::number(c.unicode(), 16).rightJustified(4, u'0');
        } else {
            out += c;
        }
    }
    return out;
}

QString queryValue(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (!needsPercent(c)) {
            out += QChar(c);
            continue;
        }
        qsizetype len = 1;
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            len = 2;
        for (const char byte : text.mid(i, len).toUtf8()) {
            out += u'%';
            out += QString::number(static_cast<unsigned char>(byte), 16)
                       .rightJustified(2, u'0')
                       .toUpper();
        }
        i += len - 1;
    }
    return out;
}

QString addressFileName(const QString& name) {
    QString out;
    out.reserve(name.size());
    for (const QChar c : name) {
        if (c == u'%')
            out += QStringLiteral("%25");
        else if (c == u'#')
            out += QStringLiteral("%23");
        else if (c == u'?')
            out += QStringLiteral("%3F");
        else
            out += c;
    }
    return out;
}

}  // namespace Escaping
