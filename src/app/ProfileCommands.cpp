#include "app/ProfileCommands.h"

#include <QFileInfo>

#include "app/MainController.h"
#include "platform/AppError.h"
#include "platform/Dialogs.h"
#include "settings/ProfileFile.h"
#include "settings/ProfileValueError.h"

namespace {

const QString kFilter = QStringLiteral("Vidlark Profile File|*.epe");

QString check(bool on) {
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

}  // namespace

QString ProfileCommands::captionFor(const QString& path) {
    // The platform has no short form of a long path, so the caption shows it in full.
    return QStringLiteral("Vidlark Streaming Video 14 ") + path;
}

QStringList ProfileCommands::values() const {
    const ProjectSettings& s = m_controller.settings();
    return {(s.Multiple ? QStringLiteral("MUL") : QStringLiteral("SIN")) +
                QString::number(static_cast<int>(s.streamingMode)),
            check(s.IsLive),
            check(s.Html5),
            QString::number(s.PlayerStyle),
            QString::number(s.PlayerSize),
            QString::number(static_cast<qint32>(s.PlayerColorNumber)),
            s.PlayerColor,
            check(s.AutoPlay),
            check(s.AutoProgress),
            s.AudioLevel,
            check(s.ShowBigPlayButton),
            s.IntroImageName,
            s.IntroImagePath,
            s.OutroImageName,
            s.OutroImagePath,
            s.ServerPath,
            s.VideoPath,
            s.OutDir,
            check(s.Encrypt),
            s.RedirectURL,
            s.AffiliateLink,
            s.ActionCode,
            check(s.ShowEmbedCode),
            check(s.SocialShare),
            s.ShareTitle,
            s.ShareURL};
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
