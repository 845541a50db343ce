#include "media/CaptionFileError.h"

namespace {

QString wording(const QString& path, int line, const QString& reason) {
    QString text = QStringLiteral("CAPTION FILE NOT USABLE.\n") + path + u'\n';
    if (line > 0)
        text += QStringLiteral("Line %1: ").arg(line);
    return text + reason;
}

}  // namespace

CaptionFileError::CaptionFileError(const QString& path, int line, const QString& reason)
    : std::runtime_error(wording(path, line, reason).toStdString()),
      m_message(wording(path, line, reason)),
      m_path(path),
      m_line(line) {}
