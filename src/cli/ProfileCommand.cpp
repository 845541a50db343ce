#include "cli/ProfileCommand.h"

#include <QFile>
#include <cstdio>

#include "cli/CliDialogs.h"
#include "platform/AppError.h"
#include "settings/ProfileFile.h"
#include "settings/ProfileLayout.h"
#include "settings/ProfileListing.h"
#include "settings/ProfileListingError.h"
#include "settings/ProfileValueError.h"

namespace {

int fail(const QString& text) {
    std::fprintf(stderr, "vidlark-cli: %s\n", qUtf8Printable(text));
    return 1;
}

int show(const QString& path) {
    for (const QString& line : ProfileListing::show(ProfileFile::readValues(path)))
        std::printf("%s\n", line.toUtf8().constData());
    return 0;
}

// The pairs of standard input, one a line; a line may end in CR LF, and blank lines are skipped.
QStringList pairsFromInput() {
    QFile input;
    if (!input.open(stdin, QIODevice::ReadOnly))
        return {};
    QStringList pairs;
    for (QString line : QString::fromUtf8(input.readAll()).split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (!line.isEmpty())
            pairs.append(line);
    }
    return pairs;
}

int write(const QString& path, const QStringList& args) {
    const QStringList values = ProfileListing::write(args.isEmpty() ? pairsFromInput() : args);
    try {
        ProfileFile::write(path, values);
    } catch (const ProfileValueError& error) {
        return fail(
            QStringLiteral("bad value for %1: %2")
                .arg(QLatin1String(ProfileLayout::atLine(error.line())->key), error.message()));
    }
    return 0;
}

}  // namespace

QString ProfileCommand::usage() {
    return QStringLiteral(
        "usage: vidlark-cli profile show FILE.epe\n"
        "       vidlark-cli profile write FILE.epe [KEY=VALUE ...]");
}

int ProfileCommand::run(const QStringList& args) {
    if (args.size() < 2 || (args[0] != QLatin1String("show") && args[0] != QLatin1String("write")))
        return fail(QStringLiteral("profile needs show or write and a file\n") + usage());
    try {
        if (args[0] == QLatin1String("show")) {
            if (args.size() != 2)
                return fail(QStringLiteral("profile show takes one file\n") + usage());
            return show(args[1]);
        }
        return write(args[1], args.mid(2));
    } catch (const ProfileListingError& error) {
        return fail(error.message());
    } catch (const ProfileValueError& error) {
        return fail(error.message());
    } catch (const AppError& error) {
        CliDialogs().reportError(error);  // the common error message, naming the file
        return 1;
    }
}
