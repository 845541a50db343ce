#pragma once

#include <QString>
#include <exception>
#include <string>

// A profile value that cannot be stored: one of its characters scrambles into CR or LF, which
// would split its line and shift every later setting. Nothing is written when this is raised.
class ProfileValueError : public std::exception {
  public:
    // `line` and `position` count from 1; `setting` is the name the user knows the value by.
    ProfileValueError(int line, QString setting, qsizetype position, QString character);

    int line() const { return m_line; }
    QString setting() const { return m_setting; }
    qsizetype position() const { return m_position; }
    QString character() const { return m_character; }

    // The text of the error message box.
    QString message() const;
    const char* what() const noexcept override { return m_what.c_str(); }

  private:
    int m_line;
    QString m_setting;
    qsizetype m_position;
    QString m_character;
    std::string m_what;
};
