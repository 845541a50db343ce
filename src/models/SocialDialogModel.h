#pragma once

#include <QString>

struct ProjectSettings;

// The dialog frmSocial: edits copies of ShareTitle and ShareURL; the settings change only on save.
class SocialDialogModel {
  public:
    explicit SocialDialogModel(ProjectSettings& settings) : m_settings(settings) {}

    void load();  // a new showing: nothing saved yet
    void save();  // also what Enter in txtShareURL does
    void refresh();
    void cancel() {}
    // Whether the showing that load() began ended with save().
    bool saved() const { return m_saved; }

    QString txtShareTitle;
    QString txtShareURL = QStringLiteral("http://");

  private:
    ProjectSettings& m_settings;
    bool m_saved = false;
};
