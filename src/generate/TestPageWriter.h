#pragma once

#include <QString>
#include <QStringList>

#include "formats/GenerationContext.h"
#include "platform/OutputFile.h"

// The two pages for trying the player out: onlinetest.html beside the uploaded files, holding the
// embed code exactly as the user pastes it, and do-not-upload.html in the scratch folder, which
// plays the mirror copies there without a web server.
class TestPageWriter {
  public:
    static OutputFile onlineTestPageFile(const GenerationContext& ctx);
    static OutputFile localTestPageFile(const GenerationContext& ctx);

    // The page texts, each line ended by CR LF.
    static QString onlineTestPage(const GenerationContext& ctx);
    static QStringList localTestPageLines(const GenerationContext& ctx);

    // The local page's SWFObject constructor: the skin from the scratch folder, sized like the
    // player box of the Flash embed script.
    static QString swfObjectLine(const GenerationContext& ctx);

    static QString localTestPagePath(const QString& appFolder);
};
