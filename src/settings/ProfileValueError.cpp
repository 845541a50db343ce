#include "settings/ProfileValueError.h"

#include "platform/ControlCharacters.h"

ProfileValueError::ProfileValueError(int line, QString setting, qsizetype position,
                                     QString character, When when)
    : m_line(line),
      m_setting(std::move(setting)),
      m_position(position),
      m_character(std::move(character)),
      m_when(when),
      m_what(message().toStdString()) {}

ProfileValueError ProfileValueError::notPlainName(int line, QString setting, QString fault,
                                                  When when) {
    ProfileValueError error(line, std::move(setting), 0, QString(), when);
    error.m_nameFault = std::move(fault);
    error.m_what = error.message().toStdString();
    return error;
}

QString ProfileValueError::message() const {
    if (!m_nameFault.isEmpty()) {
        const QString what = QStringLiteral("%1 IS NOT A PLAIN FILE NAME: %2. ")
                                 .arg(m_setting.toUpper(), m_nameFault);
        return m_when == When::Loading
                   ? QStringLiteral("PROFILE NOT LOADED. ") + what +
                         QStringLiteral("NO SETTING WAS CHANGED.")
                   : QStringLiteral("PROFILE NOT SAVED. ") + what +
                         QStringLiteral("PLEASE RENAME THE IMAGE AND CHOOSE IT AGAIN.");
    }
    // The character itself is quoted as typed: upper-casing it could show a different one.
    const QString which = QStringLiteral("CHARACTER %1 (").arg(m_position) +
                          ControlCharacters::shown(m_character) +
                          QStringLiteral(") OF %1 ").arg(m_setting.toUpper());
    if (m_when == When::Loading)
        return QStringLiteral("PROFILE NOT LOADED. ") + which +
               QStringLiteral("IS NOT ALLOWED IN A PROFILE. NO SETTING WAS CHANGED.");
    // A control character shows as nothing, so there is nothing to replace it with.
    const bool control = m_character.size() == 1 && ControlCharacters::isControl(m_character[0]);
    return QStringLiteral("PROFILE NOT SAVED. ") + which +
           QStringLiteral("CANNOT BE STORED IN A PROFILE. PLEASE %1 IT AND SAVE AGAIN.")
               .arg(control ? QStringLiteral("REMOVE") : QStringLiteral("REPLACE"));
}
