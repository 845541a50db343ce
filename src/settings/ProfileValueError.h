#pragma once

#include <QString>
#include <exception>
#include <string>

// A profile value that cannot be stored or taken in: one of its characters scrambles into CR or
// LF, which would split its line and shift every later setting, or lies outside Windows-1252,
// or is a control character the setting cannot hold; or an image name is not a plain file name.
// Saving writes nothing, and loading changes nothing, when this is raised.
class ProfileValueError : public std::exception {
  public:
    enum class When { Saving, Loading };

    // `line` and `position` count from 1; `setting` is the name the user knows the value by.
    ProfileValueError(int line, QString setting, qsizetype position, QString character,
                      When when = When::Saving);

    // An image name that would lead out of the output folder; `fault` says why
    // ("IT HOLDS A FOLDER SEPARATOR").
    static ProfileValueError notPlainName(int line, QString setting, QString fault, When when);

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
    When m_when;
    QString m_nameFault;
    std::string m_what;
};
