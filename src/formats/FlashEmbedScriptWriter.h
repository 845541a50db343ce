#pragma once

#include <QString>
#include <QStringList>

#include "formats/PlayerBox.h"
#include "platform/OutputFile.h"

// Makes zevoflashsv<tag>.js, the script that puts the Flash skin into the page's placeholder
// through SWFObject and tells the player where its configuration file lives.
class FlashEmbedScriptWriter {
  public:
    // What the script depends on.
    struct Input {
        QString outputFolder{};  // ends in the folder separator
        QString tag{};           // the run's generation tag
        QString skinUrl{};       // the skin's address on the server
        QString serverPath{};    // where the player finds its configuration file
        QString backgroundColor{};
        bool fluidSize = false;
        PlayerBox::Parts box{};
    };

    // It replaces the scripts of earlier runs (other tags), so the folder holds one.
    static OutputFile flashEmbedScript(const Input& in);

    static QStringList lines(const Input& in);
};
