#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <span>

#include "settings/ProfileSetting.h"
#include "settings/ProjectSettings.h"

// The one table of the profile file's lines. Saving, applying, the labels of messages and the
// command-line names all go through it, so a setting is added by adding its row.
class ProfileLayout {
  public:
    static std::span<const ProfileSetting> settings();
    // nullptr for a line past the last setting (read and ignored) or a key no setting has.
    static const ProfileSetting* atLine(int line);
    static const ProfileSetting* byKey(const QString& key);

    // The text a profile stores for the setting, and the texts of every line, line 1 first.
    static QString textOf(const ProfileSetting& setting, const ProjectSettings& settings);
    // The lines after the first 26 are left out from the end while they hold their start values.
    static QStringList values(const ProjectSettings& settings);
    static QStringList withoutTrailingStartValues(QStringList values);
    // The text a fresh start gives the setting.
    static QString startText(const ProfileSetting& setting);
    // The later lines (after the first 26) that a profile of `storedLines` lines left out, with
    // their start values: loading applies them, so a setting saved as off is off again.
    static QMap<int, QString> leftOutLines(qsizetype storedLines);

    // The conversions of a load; each raises AppError as the window's control would refuse the
    // value (error 5 for a check state other than 0 and 1, 13 for a number that is none, 6 for
    // one out of range).
    static bool checkState(const QString& value);
    static qint16 index(const QString& value);
    static quint32 colourNumber(const QString& value);
    // Raises AppError when the text is not one the setting's kind takes. The mode line, which a
    // load reads leniently, must be "SIN" or "MUL" followed by 1, 2 or 3.
    static void checkKind(const ProfileSetting& setting, const QString& value);
};
