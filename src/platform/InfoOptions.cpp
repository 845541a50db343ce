#include "platform/InfoOptions.h"

#include <cstdio>

#include "platform/Version.h"

std::optional<int> InfoOptions::answer(const QString& argument, const char* program,
                                       const QString& help) {
    QByteArray text;
    if (argument == QLatin1String("--version"))
        text = versionText(program);
    else if (argument == QLatin1String("--help"))
        text = help.toUtf8();
    else
        return std::nullopt;
    // A script that sends the text to a full disk must learn that it was not written.
    const auto size = static_cast<size_t>(text.size());
    if (std::fwrite(text.constData(), 1, size, stdout) == size && std::fflush(stdout) == 0)
        return 0;
    std::fprintf(stderr, "%s: write error on standard output\n", program);
    return 1;
}

QByteArray InfoOptions::versionText(const char* program) {
    return QByteArray(program) + " (" VIDLARK_PRODUCT ") " VIDLARK_VERSION "\n" VIDLARK_COPYRIGHT;
}
