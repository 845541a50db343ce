#include "media/CaptionFile.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringList>

#include <optional>

#include "media/CaptionFileError.h"
#include "platform/Cp1252.h"
#include "platform/TextFile.h"

namespace {

const QString kTimeForm = QStringLiteral("HH:MM:SS.mmm or MM:SS.mmm");

// UTF-8 when the bytes are valid UTF-8, else Windows-1252: a Windows-1252 text with accents is
// never valid UTF-8, while plain ASCII reads the same either way.
QString decode(QByteArray bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    return Cp1252::decode(bytes);
}

bool isTextControl(QChar c) {
    return c.unicode() < 0x20 && c != u'\t' && c != u'\n' && c != u'\r' && c != u'\f';
}

class Reader {
  public:
    Reader(const QString& path, const QString& text) : m_path(path) {
        QString unified = text;
        unified.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
        m_lines = unified.split(u'\n');
    }

    void checkText() const {
        for (int i = 0; i < m_lines.size(); ++i)
            for (QChar c : m_lines[i])
                if (isTextControl(c))
                    fail(i, QStringLiteral("the file holds control code %1, so it is no text "
                                           "file (a binary file?).")
                                .arg(c.unicode()));
        for (const QString& line : m_lines)
            if (!line.trimmed().isEmpty())
                return;
        throw CaptionFileError(m_path, 0, QStringLiteral("The file is empty."));
    }

    QByteArray fromWebVtt() const {
        static const QRegularExpression header(QStringLiteral("^WEBVTT([ \\t].*)?$"));
        if (!header.match(m_lines.first()).hasMatch())
            fail(0, QStringLiteral("a WebVTT file starts with the line \"WEBVTT\"."));
        int i = 1;
        while (i < m_lines.size() && !isBlank(i))  // the header's own lines
            ++i;
        bool cues = false;
        while (i < m_lines.size()) {
            if (isBlank(i)) {
                ++i;
                continue;
            }
            cues = isCue(i) || cues;
            i = checkVttBlock(i);
        }
        if (!cues)
            throw CaptionFileError(m_path, 0,
                                   QStringLiteral("The file holds no cue, so it shows nothing."));
        return (m_lines.join(u'\n').trimmed() + u'\n').toUtf8();
    }

    QByteArray fromSrt() const {
        QStringList out{QStringLiteral("WEBVTT"), QString()};
        int i = 0;
        while (i < m_lines.size()) {
            if (isBlank(i)) {
                ++i;
                continue;
            }
            i = convertSrtBlock(i, out);
        }
        return (out.join(u'\n').trimmed() + u'\n').toUtf8();
    }

  private:
    bool isBlank(int i) const { return m_lines[i].trimmed().isEmpty(); }

    int blockEnd(int i) const {
        while (i < m_lines.size() && !isBlank(i))
            ++i;
        return i;
    }

    // Whether the block at `i` is a cue rather than a NOTE, STYLE or REGION block.
    bool isCue(int i) const {
        static const QRegularExpression other(QStringLiteral("^(NOTE|STYLE|REGION)([ \\t].*)?$"));
        return !other.match(m_lines[i]).hasMatch();
    }

    // A cue (an optional id line, then its timing line) or a NOTE, STYLE or REGION block.
    int checkVttBlock(int i) const {
        const int end = blockEnd(i);
        if (!isCue(i))
            return end;
        checkTiming(timingLine(i, end), false);
        return end;
    }

    // A cue's first line is its id unless it holds the arrow. When neither of the first two lines
    // holds one, a first line that starts like a time is the timing line gone wrong ("00:01.000
    // -> 00:02.000"), and the message names it rather than the cue text after it.
    int timingLine(int i, int end) const {
        static const QRegularExpression timeLike(QStringLiteral("^\\s*\\d+:\\d"));
        const QString arrow = QStringLiteral("-->");
        if (m_lines[i].contains(arrow) || i + 1 >= end)
            return i;
        if (!m_lines[i + 1].contains(arrow) && timeLike.match(m_lines[i]).hasMatch())
            return i;
        return i + 1;
    }

    // The number line, the timing line with "," in its times, the text lines.
    int convertSrtBlock(int i, QStringList& out) const {
        static const QRegularExpression number(QStringLiteral("^\\s*\\d+\\s*$"));
        const int end = blockEnd(i);
        if (number.match(m_lines[i]).hasMatch() && i + 1 < end) {
            out << m_lines[i].trimmed();
            ++i;
        }
        out << checkTiming(i, true);
        for (++i; i < end; ++i)
            out << QString(m_lines[i]).replace(QStringLiteral("-->"), QStringLiteral("--&gt;"));
        out << QString();
        return end;
    }

    // The timing line as WebVTT writes it. SRT files may carry "X1:… Y2:…" positions after the
    // times; WebVTT has no such settings, so they are dropped.
    QString checkTiming(int i, bool srt) const {
        static const QRegularExpression form(
            QStringLiteral("^\\s*(\\S+)[ \\t]+-->[ \\t]+(\\S+)([ \\t]+.*)?$"));
        const QRegularExpressionMatch match = form.match(m_lines[i]);
        if (!match.hasMatch())
            fail(i, QStringLiteral("\"%1\" is not a cue timing (start --> end, each %2).")
                        .arg(m_lines[i].trimmed(), kTimeForm));
        const QString start = time(i, match.captured(1), srt);
        const QString end = time(i, match.captured(2), srt);
        if (millis(end) <= millis(start))
            fail(
                i,
                QStringLiteral("the cue ends (%1) before or when it starts (%2).").arg(end, start));
        if (srt)
            return start + QStringLiteral(" --> ") + end;
        return start + QStringLiteral(" --> ") + end + match.captured(3);
    }

    // A time as WebVTT writes it; SRT's "," before the milliseconds becomes ".".
    QString time(int i, const QString& text, bool srt) const {
        static const QRegularExpression vtt(
            QStringLiteral("^(?:(\\d{2,9}):)?([0-5]\\d):([0-5]\\d)\\.(\\d{3})$"));
        static const QRegularExpression srtForm(
            QStringLiteral("^(\\d{1,9}):([0-5]\\d):([0-5]\\d)[,.](\\d{3})$"));
        const QRegularExpressionMatch match = (srt ? srtForm : vtt).match(text);
        if (!match.hasMatch())
            fail(i, QStringLiteral("\"%1\" is not a time (%2).")
                        .arg(text, srt ? QStringLiteral("HH:MM:SS,mmm") : kTimeForm));
        if (!srt)
            return text;
        return match.captured(1).rightJustified(2, u'0') + u':' + match.captured(2) + u':' +
               match.captured(3) + u'.' + match.captured(4);
    }

    static qint64 millis(const QString& time) {
        qint64 total = 0;
        const QStringList parts = time.split(u':');
        for (const QString& part : parts.mid(0, parts.size() - 1))
            total = total * 60 + part.toLongLong();
        const QStringList seconds = parts.last().split(u'.');
        return (total * 60 + seconds[0].toLongLong()) * 1000 + seconds[1].toLongLong();
    }

    [[noreturn]] void fail(int i, const QString& reason) const {
        throw CaptionFileError(m_path, i + 1, reason);
    }

    QString m_path;
    QStringList m_lines;
};

}  // namespace

QString CaptionFile::languageFromName(const QString& path) {
    static const QRegularExpression tag(
        QStringLiteral("\\.([A-Za-z]{2,3}(?:-[A-Za-z0-9]{2,8})?)\\.[^./\\\\]+$"));
    return tag.match(path).captured(1);
}

QByteArray CaptionFile::toWebVtt(const QString& path) {
    // By its type, before it is opened: a pipe would wait for a writer, a device never end.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        throw CaptionFileError(path, 0,
                               QStringLiteral("It is not a regular file (a folder, a device or a "
                                              "pipe); a caption file is a text file."));
    const std::optional<QByteArray> bytes = TextFile::readBytesUpTo(path, kMaxBytes);
    if (!bytes)
        throw CaptionFileError(path, 0,
                               QStringLiteral("The file is larger than 8 MiB (%1 bytes), the most "
                                              "a caption file may hold; caption files are text "
                                              "of a few hundred KB (a video chosen by mistake?).")
                                   .arg(kMaxBytes));
    return toWebVtt(*bytes, path);
}

QByteArray CaptionFile::toWebVtt(const QByteArray& bytes, const QString& path) {
    const Reader reader(path, decode(bytes));
    reader.checkText();
    if (path.endsWith(QStringLiteral(".srt"), Qt::CaseInsensitive))
        return reader.fromSrt();
    return reader.fromWebVtt();
}
