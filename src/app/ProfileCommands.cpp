#include "app/ProfileCommands.h"

#include <QFileInfo>

#include "app/MainController.h"
#include "platform/AppError.h"
#include "platform/Dialogs.h"
#include "platform/Version.h"
#include "settings/ProfileFile.h"
#include "settings/ProfileLayout.h"
#include "settings/ProfileValueError.h"

namespace {

const QString kFilter = QStringLiteral("Vidlark Profile File|*.epe");

}  // namespace

QString ProfileCommands::captionFor(const QString& path) {
    // The platform has no short form of a long path, so the caption shows it in full.
    return QStringLiteral(VIDLARK_TITLE " ") + path;
}

QStringList ProfileCommands::values() const {
    return ProfileLayout::values(m_controller.settings());
}

void ProfileCommands::save() {
    Dialogs& dialogs = m_controller.dialogs();
    const std::optional<QString> path =
        dialogs.saveFile({QStringLiteral("Save Vidlark Profile"), kFilter, false});
    if (!path || QFileInfo(*path).fileName().trimmed().isEmpty())
        return;
    try {
        ProfileFile::write(*path, values());
    } catch (const ProfileValueError& error) {
        dialogs.error(error.message());
        return;
    } catch (const AppError& error) {
        dialogs.reportError(error);
        return;
    }
    dialogs.inform(QStringLiteral("PROFILE SAVED AS ") + *path, QStringLiteral(" Message"));
    m_controller.window().setCaption(captionFor(*path));
}

void ProfileCommands::load() {
    Dialogs& dialogs = m_controller.dialogs();
    const std::optional<QStringList> chosen =
        dialogs.openFiles({QStringLiteral("Load Data Settings"), kFilter, false});
    if (!chosen || chosen->isEmpty() || QFileInfo(chosen->first()).fileName().trimmed().isEmpty())
        return;
    try {
        m_controller.readProfile(chosen->first());
    } catch (const ProfileValueError& error) {
        dialogs.error(error.message());
        return;
    } catch (const AppError& error) {
        dialogs.reportError(error);
        return;
    }
    m_controller.window().setCaption(captionFor(chosen->first()));
}
