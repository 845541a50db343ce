#include "models/AdvancedOptionsDialogModel.h"

#include "platform/AppError.h"
#include "platform/Cp1252.h"
#include "platform/Dialogs.h"
#include "platform/Views.h"
#include "settings/AdvancedOptionsFile.h"

AdvancedOptionsDialogModel::AdvancedOptionsDialogModel(Dialogs& dialogs, Views& views,
                                                       QString configFolder)
    : m_dialogs(dialogs), m_views(views), m_configFolder(std::move(configFolder)) {}

AdvancedOptions AdvancedOptionsDialogModel::load() {
    QString problem;
    const AdvancedOptions options = AdvancedOptionsFile::read(m_configFolder, &problem);
    if (!problem.isEmpty())
        m_dialogs.warning(problem);
    return options;
}

bool AdvancedOptionsDialogModel::checkRequired(const AdvancedOptions& options) {
    struct Required {
        const QString& value;
        const char* control;
        const char* message;
    };
    const Required required[] = {
        {options.VideoBuffer, "txtVideoBuffer", "VALUE MISSING FOR VIDEO BUFFER."},
        {options.ItemsPlaylist, "txtItemsPlaylist",
         "VALUE MISSING FOR NUMBER OF ITEMS IN PLAYLIST."},
        {options.WidthPlaylist, "txtWidthPlaylist", "VALUE MISSING FOR PLAYLIST WIDTH."},
    };
    for (const Required& r : required) {
        if (r.value.trimmed().isEmpty()) {
            m_dialogs.error(QString::fromLatin1(r.message));
            m_views.focusControl(QString::fromLatin1(r.control));
            return false;
        }
    }
    return true;
}

// The options file is Windows-1252: a character it does not have would come back as "?".
bool AdvancedOptionsDialogModel::checkStorable(const AdvancedOptions& options) {
    struct Field {
        const QString& value;
        const char* control;
        const char* name;
    };
    const Field fields[] = {
        {options.VideoBuffer, "txtVideoBuffer", "VIDEO BUFFER"},
        {options.ItemsPlaylist, "txtItemsPlaylist", "NUMBER OF ITEMS IN PLAYLIST"},
        {options.WidthPlaylist, "txtWidthPlaylist", "PLAYLIST WIDTH"},
        {options.PlayListFontSize, "txtPlayListFontSize", "PLAYLIST FONT SIZE"},
        {options.ErrorFlash, "txtErrorFlash", "NO FLASH SUPPORT MESSAGE"},
        {options.ErrorHtml5, "txtErrorHtml5", "NO HTML5 VIDEO SUPPORT MESSAGE"},
    };
    for (const Field& f : fields) {
        const qsizetype at = Cp1252::firstUnrepresentable(f.value);
        if (at < 0)
            continue;
        m_dialogs.error(QStringLiteral("OPTIONS NOT SAVED. CHARACTER %1 (\"").arg(at + 1) +
                        Cp1252::characterAt(f.value, at) +
                        QStringLiteral("\") OF THE %1 CANNOT BE STORED IN THE OPTIONS FILE. PLEASE "
                                       "REPLACE IT AND SAVE AGAIN.")
                            .arg(QLatin1String(f.name)));
        m_views.focusControl(QString::fromLatin1(f.control));
        return false;
    }
    return true;
}

bool AdvancedOptionsDialogModel::save(const AdvancedOptions& options) {
    if (!checkRequired(options) || !checkStorable(options))
        return false;
    if (!m_dialogs.confirm(QStringLiteral("DO YOU WANT TO SAVE?")))
        return false;
    try {
        AdvancedOptionsFile::write(m_configFolder, options);
    } catch (const AppError& error) {
        m_dialogs.reportError(error);
        return false;
    }
    m_dialogs.inform(QStringLiteral("OPTIONS SAVED."));
    return true;
}
