#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "platform/OutputFile.h"

// Makes zevoacton<tag>.js, what happens when the video ends: either the visitor is sent to the
// RedirectURL, or the player is hidden and the user's own HTML is shown with a way back.
class ActionScriptWriter {
  public:
    // What the script depends on.
    struct Input {
        QString outputFolder{};  // ends in the folder separator
        QString tag{};           // the run's generation tag
        bool hasActionCode = false;
        QString redirectUrl{};  // as typed
    };

    // The script of the run's end-of-video action: showing the action code when there is one,
    // else sending to the RedirectURL when one is given, else none. It replaces every
    // zevoacton*.js of earlier runs, so the folder holds one.
    static std::optional<OutputFile> actionScript(const Input& in);

    static OutputFile redirectActionScript(const Input& in);
    static OutputFile showActionScript(const Input& in);

    static QStringList redirectLines(const QString& tag, const QString& redirectUrl);
    static QStringList showLines(const QString& tag);
};
