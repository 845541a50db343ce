#include "settings/AdvancedOptionsEditor.h"

#include "platform/AppError.h"
#include "platform/Dialogs.h"
#include "platform/Views.h"
#include "settings/AdvancedOptionsFile.h"

AdvancedOptionsEditor::AdvancedOptionsEditor(Dialogs& dialogs, Views& views, QString appFolder)
    : m_dialogs(dialogs), m_views(views), m_appFolder(std::move(appFolder)) {}

AdvancedOptions AdvancedOptionsEditor::load() {
    QString problem;
    const AdvancedOptions options = AdvancedOptionsFile::read(m_appFolder, &problem);
    if (!problem.isEmpty())
        m_dialogs.warning(problem);
    return options;
}

bool AdvancedOptionsEditor::checkRequired(const AdvancedOptions& options) {
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

bool AdvancedOptionsEditor::save(const AdvancedOptions& options) {
    if (!checkRequired(options))
        return false;
    if (!m_dialogs.confirm(QStringLiteral("DO YOU WANT TO SAVE?")))
        return false;
    try {
        AdvancedOptionsFile::write(m_appFolder, options);
    } catch (const AppError& error) {
        m_dialogs.reportError(error);
        return false;
    }
    m_dialogs.inform(QStringLiteral("OPTIONS SAVED."));
    return true;
}
