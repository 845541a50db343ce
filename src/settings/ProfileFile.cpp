#include "settings/ProfileFile.h"

#include <algorithm>

#include "platform/ControlCharacters.h"
#include "platform/Cp1252.h"
#include "platform/PlainFileName.h"
#include "platform/TextFile.h"
#include "settings/ProfileValueError.h"
#include "settings/Scrambler.h"

namespace {

// Line n of a profile holds the setting at index n - 1; the labels follow the controls' captions.
const char* const kSettingNames[] = {
    "single or playlist and streaming mode",
    "Live Video Setup",
    "HTML5 Support",
    "player style",
    "player size",
    "player tint colour",
    "player tint",
    "Auto Start Video",
    "Auto Progress for Multiple Videos",
    "Initialize Audio at",
    "Big Play Button on Video Player",
    "intro image name",
    "intro image path",
    "outro image name",
    "outro image path",
    "HTML Files Path",
    "Video File(s) Path",
    "Output Folder",
    "Encrypt HTML",
    "Video On End URL",
    "Video On Click URL",
    "Video On End HTML code",
    "Allow Video to be Embedded",
    "Share Video",
    "Title of Content",
    "Web Link",
};

// The end-of-video HTML code comes from a multi-line box; every other setting is one line.
constexpr int kMultiLineSetting = 22;
constexpr int kIntroImageName = 12;
constexpr int kOutroImageName = 14;

qsizetype firstControl(const QString& value, int line) {
    return ControlCharacters::firstIndex(value, line == kMultiLineSetting
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
    if (line != kIntroImageName && line != kOutroImageName)
        return;
    const QString fault = PlainFileName::fault(value);
    if (!fault.isEmpty())
        throw ProfileValueError::notPlainName(line, ProfileFile::settingName(line), fault, when);
}

}  // namespace

QString ProfileFile::settingName(int line) {
    constexpr int count = int(sizeof(kSettingNames) / sizeof(kSettingNames[0]));
    if (line >= 1 && line <= count)
        return QString::fromLatin1(kSettingNames[line - 1]);
    return QStringLiteral("line %1").arg(line);
}

QStringList ProfileFile::readValues(const QString& path) {
    QStringList values;
    for (const QString& line : TextFile::readLines(path))
        values.append(Scrambler::unscramble(line, Scrambler::kScrambleKey));
    // Every value is checked before the caller applies the first, so a refused file changes
    // nothing.
    for (qsizetype i = 0; i < values.size(); ++i) {
        const int line = int(i + 1);
        if (const qsizetype at = firstControl(values[i], line); at >= 0)
            refuse(values[i], line, at, ProfileValueError::When::Loading);
        refuseNameThatIsNotPlain(values[i], line, ProfileValueError::When::Loading);
    }
    return values;
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
