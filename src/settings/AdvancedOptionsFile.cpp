#include "settings/AdvancedOptionsFile.h"

#include <QRegularExpression>
#include <QStringList>

#include "platform/AppError.h"
#include "platform/FileOps.h"
#include "platform/Int16.h"
#include "platform/TextFile.h"

namespace {

constexpr int kGroupSize = 7;

void setProblem(QString* problem, const QString& text) {
    if (problem)
        *problem = text;
}

// The check state of line 2: " 0 " or " 1 " as written, blanks around the number ignored.
bool parseCheck(const QString& text, bool* ok) {
    try {
        const int value = Int16::fromText(text);
        *ok = value == 0 || value == 1;
        return value == 1;
    } catch (const AppError&) {
        *ok = false;
        return false;
    }
}

QString singleLine(const QString& text) {
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    QString out = text;
    return out.replace(lineBreak, QStringLiteral(" "));
}

}  // namespace

const QString AdvancedOptionsFile::kIncompleteMessage =
    QStringLiteral("ADVANCED OPTIONS FILE MISSING OR INCOMPLETE. DEFAULT VALUES ARE IN USE.");
const QString AdvancedOptionsFile::kBadCheckMessage = QStringLiteral(
    "ADVANCED OPTIONS FILE: THE VALUE FOR HIDE CONTROLS ON FLOATING BAR PLAYER IS NOT 0 OR 1. "
    "THE OPTION IS OFF.");

QString AdvancedOptionsFile::path(const QString& configFolder) {
    return FileOps::withTrailingSeparator(configFolder) + QStringLiteral("configsv.txt");
}

AdvancedOptions AdvancedOptionsFile::defaults() {
    AdvancedOptions options;
    options.VideoBuffer = QStringLiteral("5");
    options.HideControlsFloatingBar = false;
    options.ItemsPlaylist = QStringLiteral("4");
    options.WidthPlaylist = QStringLiteral("250");
    options.PlayListFontSize = QStringLiteral("11");
    // Both are written into page scripts inside single-quoted strings: no apostrophes here.
    options.ErrorFlash = QStringLiteral(
        "<div style=\"text-align:center;padding:10px;\">This video needs the free Adobe Flash "
        "Player. <a href=\"http://get.adobe.com/flashplayer/\" target=\"_blank\">Get the Flash "
        "Player here</a> and reload this page.</div>");
    options.ErrorHtml5 = QStringLiteral(
        "<p style=\"text-align:center;\">Sorry, this browser cannot play HTML5 video. Please try "
        "a newer browser.</p>");
    return options;
}

AdvancedOptions AdvancedOptionsFile::read(const QString& configFolder, QString* problem) {
    setProblem(problem, {});
    QStringList lines;
    try {
        lines = TextFile::readLines(path(configFolder));
    } catch (const AppError& error) {
        // A file that is there but cannot be read (a folder, a FIFO, no permission) is named,
        // with the cause, under the usual warning.
        const bool missing =
            error.number() == AppError::FileNotFound || error.number() == AppError::PathNotFound;
        QString text = kIncompleteMessage;
        if (!missing)
            for (const QString& line : {error.naming(), error.reason()})
                if (!line.isEmpty())
                    text += u'\n' + line;
        setProblem(problem, text);
        return defaults();
    }
    const qsizetype groups = lines.size() / kGroupSize;
    if (groups == 0) {
        setProblem(problem, kIncompleteMessage);
        return defaults();
    }
    // A longer file is read group by group; the last complete group is what stays in force.
    const QStringList group = lines.mid((groups - 1) * kGroupSize, kGroupSize);
    AdvancedOptions options;
    options.VideoBuffer = group[0];
    bool checkOk = false;
    options.HideControlsFloatingBar = parseCheck(group[1], &checkOk);
    if (!checkOk)
        setProblem(problem, kBadCheckMessage);
    options.ItemsPlaylist = group[2];
    options.WidthPlaylist = group[3];
    options.PlayListFontSize = group[4];
    options.ErrorFlash = group[5];
    options.ErrorHtml5 = group[6];
    return options;
}

void AdvancedOptionsFile::write(const QString& configFolder, const AdvancedOptions& options) {
    // Every value goes through singleLine: a line break anywhere would shift the lines after it.
    const QStringList lines = {
        singleLine(options.VideoBuffer),
        options.HideControlsFloatingBar ? QStringLiteral(" 1 ") : QStringLiteral(" 0 "),
        singleLine(options.ItemsPlaylist),
        singleLine(options.WidthPlaylist),
        singleLine(options.PlayListFontSize),
        singleLine(options.ErrorFlash),
        singleLine(options.ErrorHtml5),
    };
    TextFile::writeLinesAtomically(path(configFolder), lines);
}
