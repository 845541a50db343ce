#include "app/LocalPreview.h"
#include "platform/ScratchFolder.h"

#include <QDir>

namespace {

QList<PreviewServer::Root> rootsOf(const AppPaths& paths) {
    return {{QStringLiteral("/"), ScratchFolder::path(paths)},
            {QStringLiteral("/ruffle/"), QDir(paths.data).filePath(QStringLiteral("ruffle"))}};
}

}  // namespace

LocalPreview::LocalPreview(const AppPaths& paths) : m_server(rootsOf(paths)) {}

QString LocalPreview::testPageAddress() {
    if (m_server.start() == 0)
        return {};
    return m_server.address(QStringLiteral("do-not-upload.html"));
}
