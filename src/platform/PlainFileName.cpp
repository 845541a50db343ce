#include "platform/PlainFileName.h"

#include "platform/ControlCharacters.h"

QString PlainFileName::fault(const QString& name) {
    // Both separators, whatever the system: a playlist made on Windows is generated elsewhere
    // too, and a web address turns a backslash into a slash.
    if (name.contains(u'/') || name.contains(u'\\'))
        return QStringLiteral("IT HOLDS A FOLDER SEPARATOR");
    if (name == u"." || name == u"..")
        return QStringLiteral("IT STANDS FOR A FOLDER (\"%1\")").arg(name);
    if (const qsizetype at = ControlCharacters::firstIndex(name); at >= 0)
        return QStringLiteral("IT HOLDS A CONTROL CHARACTER (CODE %1)").arg(name[at].unicode());
    return {};
}
