#pragma once

#include <QString>

#include "formats/Html5ScriptInput.h"
#include "platform/OutputFile.h"

// Makes zevohtml5sv<tag>.js for a playlist: in the browser it fetches the upload copy of
// zevoconfigsv.xml, fills the scrolling list pDivSc<tag> with one clickable item per video, plays
// the first video in vDiv<tag>, moves on when a video ends (auto progress) and carries out the
// end-of-video action after the last one.
class Html5PlaylistScriptWriter {
  public:
    // The script as one line; it replaces every zevohtml5*.js of earlier runs (the single-video
    // script shares the name).
    static OutputFile html5PlaylistScript(const Html5ScriptInput& in);

    // The whole script, without its line end.
    static QString text(const Html5ScriptInput& in);
};
