#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

// A profile as text a person or a script can read and write: one KEY=VALUE line per setting, the
// key the setting's field name (ProfileLayout), a backslash, CR and LF in a value written as
// "\\", "\r" and "\n" so every value stays on its line.
class ProfileListing {
  public:
    // The lines for the values of a profile (line 1 first), in the file's order; values past the
    // last setting are not settings and are left out.
    static QStringList show(const QStringList& values);

    // The values of a profile whose settings are named by `pairs` and take their start-up values
    // otherwise. Raises ProfileListingError for a pair not of the form KEY=VALUE, an unknown key,
    // a broken escape or a value its setting's kind refuses; the profile file's own checks (for
    // characters it cannot store) come when it is written.
    static QStringList write(const QStringList& pairs);

    // The pairs by the line of the setting each names, checked as `write` checks them.
    static QMap<int, QString> parse(const QStringList& pairs);

    static QString escape(const QString& value);
    // Raises ProfileListingError naming `key` for a backslash not followed by \, r or n.
    static QString unescape(const QString& key, const QString& text);
};
