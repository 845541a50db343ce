#include "models/SocialDialogModel.h"

#include "settings/ProjectSettings.h"

void SocialDialogModel::load() {
    txtShareTitle = m_settings.ShareTitle;
    if (!m_settings.ShareURL.isEmpty())
        txtShareURL = m_settings.ShareURL;
}

void SocialDialogModel::save() {
    m_settings.ShareTitle = txtShareTitle;
    m_settings.ShareURL = txtShareURL;
}

void SocialDialogModel::refresh() {
    txtShareTitle.clear();
    txtShareURL = QStringLiteral("http://");
}
