#pragma once

#include <QString>
#include <stdexcept>

// A caption file that cannot be used, with the text the user is shown: it names the file and,
// where one line is at fault, that line (from 1).
class CaptionFileError : public std::runtime_error {
  public:
    CaptionFileError(const QString& path, int line, const QString& reason);

    QString message() const { return m_message; }
    QString path() const { return m_path; }
    int line() const { return m_line; }  // 0 when the file as a whole is at fault

  private:
    QString m_message;
    QString m_path;
    int m_line;
};
