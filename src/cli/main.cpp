#include <QCoreApplication>
#include <cstdio>

#include "cli/CliHelp.h"
#include "cli/GenerateCommand.h"
#include "cli/ProfileCommand.h"
#include "cli/ServeCommand.h"
#include "platform/InfoOptions.h"

namespace {

// --help or --version as the first argument, or right after a command ("generate --help").
std::optional<int> answerInfoOption(const QStringList& args) {
    const bool command = !args.isEmpty() && (args.first() == QLatin1String("generate") ||
                                             args.first() == QLatin1String("profile") ||
                                             args.first() == QLatin1String("serve"));
    const qsizetype at = command ? 1 : 0;
    if (at >= args.size() || (command && args[at] != QLatin1String("--help")))
        return std::nullopt;
    return InfoOptions::answer(args[at], "vidlark-cli", CliHelp::text());
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (const std::optional<int> status = answerInfoOption(args))
        return *status;
    if (!args.isEmpty() && args.first() == QLatin1String("serve")) {
        QString appFolder;
        const QString error = ServeCommand::parse(args.mid(1), appFolder);
        if (!error.isEmpty()) {
            std::fprintf(stderr, "vidlark-cli: %s\n%s\n", qUtf8Printable(error),
                         qUtf8Printable(GenerateCommand::usage()));
            return GenerateCommand::Failed;
        }
        return ServeCommand::run(appFolder);
    }
    if (!args.isEmpty() && args.first() == QLatin1String("profile"))
        return ProfileCommand::run(args.mid(1));
    if (args.isEmpty() || args.first() != QLatin1String("generate")) {
        std::fprintf(stderr, "%s\n", qUtf8Printable(GenerateCommand::usage()));
        return GenerateCommand::Failed;
    }
    GenerateCommand::Options options;
    const QString error = GenerateCommand::parse(args.mid(1), options);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "vidlark-cli: %s\n%s\n", qUtf8Printable(error),
                     qUtf8Printable(GenerateCommand::usage()));
        return GenerateCommand::Failed;
    }
    const int status = GenerateCommand::run(options);
    if (!options.serve ||
        (status != GenerateCommand::Completed && status != GenerateCommand::InjectionsFailed))
        return status;
    const int served = ServeCommand::run(options.appFolder);
    return served != 0 ? served : status;
}
