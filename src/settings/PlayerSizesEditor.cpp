#include "settings/PlayerSizesEditor.h"

#include "platform/AppError.h"
#include "platform/Dialogs.h"
#include "settings/PlayerSizesFile.h"

PlayerSizesEditor::PlayerSizesEditor(Dialogs& dialogs, QString appFolder)
    : m_dialogs(dialogs), m_appFolder(std::move(appFolder)) {}

QString PlayerSizesEditor::load() {
    try {
        return PlayerSizesFile::readText(m_appFolder);
    } catch (const AppError& error) {
        m_dialogs.reportError(error);
        return {};
    }
}

bool PlayerSizesEditor::save(const QString& text) {
    if (!m_dialogs.confirm(QStringLiteral("DO YOU WANT TO SAVE?")))
        return false;
    if (text.trimmed().isEmpty()) {
        m_dialogs.error(QStringLiteral("NOTHING TO SAVE!"));
        return false;
    }
    try {
        PlayerSizesFile::writeText(m_appFolder, text);
    } catch (const AppError& error) {
        m_dialogs.reportError(error);
        return false;
    }
    m_dialogs.inform(QStringLiteral("DATA SAVED."));
    return true;
}
