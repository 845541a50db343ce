#pragma once

#include <QString>
#include <QStringList>

class MainController;

// "&Save Profile" and "&Load Profile": the file dialogs, the messages and the window caption
// around writing and reading a profile.
class ProfileCommands {
  public:
    explicit ProfileCommands(MainController& controller) : m_controller(controller) {}

    void save();  // mnuSaveProfile_Click
    void load();  // mnuLoadProfile_Click

    // The 26 values of a profile, line 1 first, from the current settings.
    QStringList values() const;

    static QString captionFor(const QString& path);

  private:
    MainController& m_controller;
};
