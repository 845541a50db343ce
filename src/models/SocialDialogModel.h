#pragma once

#include <QString>

struct ProjectSettings;

// The dialog frmSocial: edits copies of ShareTitle and ShareURL; the settings change only on save.
class SocialDialogModel {
  public:
    explicit SocialDialogModel(ProjectSettings& settings) : m_settings(settings) {}

    void load();
    void save();  // also what Enter in txtShareURL does
    void refresh();
    void cancel() {}

    QString txtShareTitle;
    QString txtShareURL = QStringLiteral("http://");

  private:
    ProjectSettings& m_settings;
};
