#include "settings/ProfileFile.h"

#include <algorithm>

#include "platform/ControlCharacters.h"
#include "platform/Cp1252.h"
#include "platform/PlainFileName.h"
#include "platform/Scrambler.h"
#include "platform/TextFile.h"
#include "settings/ProfileLayout.h"
#include "settings/ProfileValueError.h"

namespace {

ProfileSetting::Kind kindAt(int line) {
    const ProfileSetting* setting = ProfileLayout::atLine(line);
    return setting ? setting->kind : ProfileSetting::Kind::Text;
}

qsizetype firstControl(const QString& value, int line) {
    return ControlCharacters::firstIndex(value, kindAt(line) == ProfileSetting::Kind::MultiLineText
                                                    ? ControlCharacters::Breaks::Allowed
                                                    : ControlCharacters::Breaks::Refused);
}

// The first character of the value that a profile cannot hold, or -1: whichever comes first of
// a control character and a character that cannot be stored.
qsizetype firstUnsaveable(const QString& value, int line) {
    const qsizetype control = firstControl(value, line);
    const qsizetype unstorable = Scrambler::unstorableIndex(value, Scrambler::kScrambleKey);
    if (control < 0 || unstorable < 0)
        return std::max(control, unstorable);
    return std::min(control, unstorable);
}

[[noreturn]] void refuse(const QString& value, int line, qsizetype at,
                         ProfileValueError::When when) {
    throw ProfileValueError(line, ProfileFile::settingName(line), at + 1,
                            Cp1252::characterAt(value, at), when);
}

// The intro and outro image names are the names their rendered pictures get in the output and
// scratch folders (the sources are the paths on the lines after them), so a profile from
// someone else naming "../../x" would write over files outside them.
void refuseNameThatIsNotPlain(const QString& value, int line, ProfileValueError::When when) {
    if (kindAt(line) != ProfileSetting::Kind::FileName)
        return;
    const QString fault = PlainFileName::fault(value);
    if (!fault.isEmpty())
        throw ProfileValueError::notPlainName(line, ProfileFile::settingName(line), fault, when);
}

}  // namespace

QString ProfileFile::settingName(int line) {
    if (const ProfileSetting* setting = ProfileLayout::atLine(line))
        return QString::fromLatin1(setting->label);
    return QStringLiteral("line %1").arg(line);
}

QStringList ProfileFile::readValues(const QString& path) {
    QStringList values;
    for (const QString& line : TextFile::readLines(path))
        values.append(Scrambler::unscramble(line, Scrambler::kScrambleKey));
    // Every value is checked before the caller applies the first, so a refused file changes
    // nothing.
    for (qsizetype i = 0; i < values.size(); ++i)
        checkForLoading(int(i + 1), values[i]);
    return values;
}

void ProfileFile::checkForLoading(int line, const QString& value) {
    if (const qsizetype at = firstControl(value, line); at >= 0)
        refuse(value, line, at, ProfileValueError::When::Loading);
    refuseNameThatIsNotPlain(value, line, ProfileValueError::When::Loading);
}

QStringList ProfileFile::scrambledLines(const QStringList& values) {
    QStringList lines;
    for (qsizetype i = 0; i < values.size(); ++i) {
        const int line = int(i + 1);
        if (const qsizetype at = firstUnsaveable(values[i], line); at >= 0)
            refuse(values[i], line, at, ProfileValueError::When::Saving);
        refuseNameThatIsNotPlain(values[i], line, ProfileValueError::When::Saving);
        lines.append(Scrambler::scramble(values[i], Scrambler::kScrambleKey));
    }
    return lines;
}

void ProfileFile::write(const QString& path, const QStringList& values) {
    TextFile::writeLinesAtomically(path, scrambledLines(values));
}
