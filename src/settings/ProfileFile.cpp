#include "settings/ProfileFile.h"

#include "platform/Cp1252.h"
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
    return values;
}

QStringList ProfileFile::scrambledLines(const QStringList& values) {
    QStringList lines;
    for (qsizetype i = 0; i < values.size(); ++i) {
        const qsizetype at = Scrambler::unstorableIndex(values[i], Scrambler::kScrambleKey);
        if (at >= 0) {
            const int line = int(i + 1);
            throw ProfileValueError(line, settingName(line), at + 1,
                                    Cp1252::characterAt(values[i], at));
        }
        lines.append(Scrambler::scramble(values[i], Scrambler::kScrambleKey));
    }
    return lines;
}

void ProfileFile::write(const QString& path, const QStringList& values) {
    TextFile::writeLinesAtomically(path, scrambledLines(values));
}
