#include "app/LocalPreview.h"
#include "platform/ScratchFolder.h"

#include <QDir>

namespace {

QList<PreviewServer::Root> rootsOf(const QString& appFolder) {
    return {{QStringLiteral("/"), ScratchFolder::path(appFolder)},
            {QStringLiteral("/ruffle/"), QDir(appFolder).filePath(QStringLiteral("ruffle"))}};
}

}  // namespace

LocalPreview::LocalPreview(const QString& appFolder) : m_server(rootsOf(appFolder)) {}

QString LocalPreview::testPageAddress() {
    if (m_server.start() == 0)
        return {};
    return m_server.address(QStringLiteral("do-not-upload.html"));
}
