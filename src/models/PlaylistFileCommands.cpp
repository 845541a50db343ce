#include "models/PlaylistFileCommands.h"

#include "platform/AppError.h"
#include "platform/Dialogs.h"

namespace {

const QString PlaylistFilter = QStringLiteral("Vidlark Playlist File|*.plf");

}  // namespace

std::optional<QString> PlaylistFileCommands::chooseSaveFile() {
    const std::optional<QString> path =
        m_dialogs.saveFile({QStringLiteral("Save Playlist"), PlaylistFilter, false});
    if (!path || path->isEmpty())
        return std::nullopt;
    return path;
}

bool PlaylistFileCommands::write(const QString& path, const Playlist& playlist, bool html5Files,
                                 const PointAt& pointAt) {
    try {
        PlaylistFile::write(path, playlist, html5Files);
    } catch (const PlaylistFileError& error) {
        m_dialogs.error(error.message());
        if (error.row() > 0)
            pointAt(error.row(), error.column());
        return false;
    } catch (const AppError& error) {
        m_dialogs.reportError(error);
        return false;
    }
    m_dialogs.inform(QStringLiteral("DATA SAVED AS ") + path, QStringLiteral(" Message"));
    return true;
}

std::optional<PlaylistFileCommands::Loaded> PlaylistFileCommands::load() {
    const std::optional<QStringList> answer =
        m_dialogs.openFiles({QStringLiteral("Load Data Settings"), PlaylistFilter, false});
    if (!answer || answer->isEmpty())
        return std::nullopt;
    const QString path = answer->first();
    try {
        return Loaded{PlaylistFile::read(path), path};
    } catch (const PlaylistFileError& error) {
        m_dialogs.error(error.message());
    } catch (const AppError& error) {
        m_dialogs.reportError(error);
    }
    return std::nullopt;
}
