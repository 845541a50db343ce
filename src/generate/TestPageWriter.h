#pragma once

#include <QString>
#include <QStringList>

#include "formats/PlayerBox.h"
#include "platform/AppPaths.h"
#include "platform/OutputFile.h"

// The two pages for trying the player out: onlinetest.html beside the uploaded files, holding the
// embed code exactly as the user pastes it, and do-not-upload.html in the scratch folder, which
// plays the mirror copies there without a web server.
class TestPageWriter {
  public:
    // What the pages depend on.
    struct Input {
        QString outputFolder{};  // holds the online page; the local page names it
        AppPaths paths{};        // the local page goes into its scratch folder
        QString tag{};           // the run's generation tag
        QString embedCode{};     // as the code window shows it
        QString skinFile{};      // the skin's file, beside the local page
        QString backgroundColor{};
        bool fluidSize = false;
        PlayerBox::Parts box{};
    };

    static OutputFile onlineTestPageFile(const Input& in);
    static OutputFile localTestPageFile(const Input& in);

    // The page texts, each line ended by CR LF.
    static QString onlineTestPage(const Input& in);
    static QStringList localTestPageLines(const Input& in);

    // The local page's SWFObject constructor: the skin from the scratch folder, sized like the
    // player box of the Flash embed script.
    static QString swfObjectLine(const Input& in);

    static QString localTestPagePath(const AppPaths& paths);
};
