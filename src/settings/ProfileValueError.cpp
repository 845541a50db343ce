#include "settings/ProfileValueError.h"

ProfileValueError::ProfileValueError(int line, QString setting, qsizetype position,
                                     QString character)
    : m_line(line),
      m_setting(std::move(setting)),
      m_position(position),
      m_character(std::move(character)),
      m_what(message().toStdString()) {}

QString ProfileValueError::message() const {
    // The character itself is quoted as typed: upper-casing it could show a different one.
    return QStringLiteral("PROFILE NOT SAVED. CHARACTER %1 (\"").arg(m_position) + m_character +
           QStringLiteral(
               "\") OF %1 CANNOT BE STORED IN A PROFILE. PLEASE REPLACE IT AND SAVE AGAIN.")
               .arg(m_setting.toUpper());
}
