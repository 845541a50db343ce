#include "cli/ServeCommand.h"

#include <sys/socket.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSocketNotifier>
#include <csignal>
#include <cstdio>

#include "app/LocalPreview.h"
#include "platform/ScratchFolder.h"

namespace {

int interruptPipe[2] = {-1, -1};

void onInterrupt(int) {
    const char byte = 1;
    [[maybe_unused]] const auto n = ::write(interruptPipe[1], &byte, 1);
}

// Ctrl+C or a kill ends the event loop, so the server closes its port and the program its files
// as at any normal end.
void quitOnInterrupt(QSocketNotifier*& notifier) {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, interruptPipe) != 0)
        return;
    notifier =
        new QSocketNotifier(interruptPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, QCoreApplication::instance(),
                     &QCoreApplication::quit);
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
}

void printError(const QString& text) {
    std::fprintf(stderr, "vidlark-cli: %s\n", qUtf8Printable(text));
}

}  // namespace

QString ServeCommand::parse(const QStringList& args, QString& appFolder) {
    if (args.isEmpty())
        return {};
    if (args.size() == 2 && args[0] == QLatin1String("--app-folder"))
        appFolder = args[1];
    else
        return QStringLiteral("serve takes only --app-folder DIR");
    return {};
}

int ServeCommand::run(const QString& appFolder) {
    const AppPaths paths = AppPaths::chosen(appFolder);
    const QString page = ScratchFolder::localTestPage(paths);
    if (!QFileInfo(page).isFile()) {
        printError(QStringLiteral("no local test page to serve (") + page +
                   QStringLiteral("): generate first"));
        return 1;
    }
    LocalPreview preview(paths);
    const QString address = preview.testPageAddress();
    if (address.isEmpty()) {
        printError(QStringLiteral("no port could be had on 127.0.0.1"));
        return 1;
    }
    QSocketNotifier* notifier = nullptr;
    quitOnInterrupt(notifier);
    std::printf("Serving the local test page at %s (Ctrl+C ends)\n", qUtf8Printable(address));
    std::fflush(stdout);
    QCoreApplication::exec();
    return 0;
}
