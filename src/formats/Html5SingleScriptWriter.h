#pragma once

#include <QString>

#include "formats/Html5ScriptInput.h"
#include "platform/OutputFile.h"

// Makes zevohtml5sv<tag>.js, the HTML5 fallback for a single video: in the browser it fetches the
// upload copy of zevoconfigsv.xml from the page's own host and builds a `video` element from it
// inside the container vDiv<tag>.
class Html5SingleScriptWriter {
  public:
    // The script as one line; it replaces every zevohtml5*.js of earlier runs (single or
    // playlist), as they share the name.
    static OutputFile html5SingleScript(const Html5ScriptInput& in);

    // The whole script, without its line end.
    static QString text(const Html5ScriptInput& in);

    // The path part of a server address ("http://host/a/b/" gives "/a/b/"), beginning and ending
    // in "/"; the player fetches its configuration by this absolute path.
    static QString relativeServerPath(const QString& serverPath);
};
