#include "models/PlayerSizesDialogModel.h"

#include "appearance/PlayerSizes.h"
#include "platform/AppError.h"
#include "platform/Cp1252.h"
#include "platform/Dialogs.h"
#include "settings/PlayerSizesFile.h"

PlayerSizesDialogModel::PlayerSizesDialogModel(Dialogs& dialogs, QString configFolder)
    : m_dialogs(dialogs), m_configFolder(std::move(configFolder)) {}

QString PlayerSizesDialogModel::load() {
    try {
        return PlayerSizesFile::readText(m_configFolder);
    } catch (const AppError& error) {
        m_dialogs.reportError(error);
        return {};
    }
}

bool PlayerSizesDialogModel::save(const QString& text) {
    if (!m_dialogs.confirm(QStringLiteral("DO YOU WANT TO SAVE?")))
        return false;
    if (text.trimmed().isEmpty()) {
        m_dialogs.error(QStringLiteral("NOTHING TO SAVE!"));
        return false;
    }
    // The sizes file is Windows-1252: a character it does not have would come back as "?".
    if (const qsizetype at = Cp1252::firstUnrepresentable(text); at >= 0) {
        const qsizetype lineStart = text.lastIndexOf(u'\n', at) + 1;
        m_dialogs.error(QStringLiteral("DATA NOT SAVED. CHARACTER %1 (\"").arg(at - lineStart + 1) +
                        Cp1252::characterAt(text, at) +
                        QStringLiteral("\") OF LINE %1 CANNOT BE STORED IN THE SIZES FILE. PLEASE "
                                       "REPLACE IT AND SAVE AGAIN.")
                            .arg(text.left(at).count(u'\n') + 1));
        return false;
    }
    // Every line the main window would offer must give a size: a malformed one could never be
    // chosen, and as the first entry it would stand in the list for a size not in force.
    if (const QString refusal = PlayerSizes::firstMalformedLineMessage(text); !refusal.isEmpty()) {
        m_dialogs.error(refusal);
        return false;
    }
    try {
        PlayerSizesFile::writeText(m_configFolder, text);
    } catch (const AppError& error) {
        m_dialogs.reportError(error);
        return false;
    }
    m_dialogs.inform(QStringLiteral("DATA SAVED."));
    return true;
}
