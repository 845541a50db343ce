#include "models/SocialDialogModel.h"

#include "settings/ProjectSettings.h"

void SocialDialogModel::load() {
    m_saved = false;
    txtShareTitle = m_settings.ShareTitle;
    if (!m_settings.ShareURL.isEmpty())
        txtShareURL = m_settings.ShareURL;
}

void SocialDialogModel::save() {
    m_settings.ShareTitle = txtShareTitle;
    m_settings.ShareURL = txtShareURL;
    m_saved = true;
}

void SocialDialogModel::refresh() {
    txtShareTitle.clear();
    txtShareURL = QStringLiteral("http://");
}
