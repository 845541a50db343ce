#pragma once

#include <QString>

#include "formats/GenerationContext.h"

// Writes zevohtml5sv<tag>.js for a playlist: in the browser it fetches the upload copy of
// zevoconfigsv.xml, fills the scrolling list pDivSc<tag> with one clickable item per video, plays
// the first video in vDiv<tag>, moves on when a video ends (auto progress) and carries out the
// end-of-video action after the last one.
class Html5PlaylistScriptWriter {
  public:
    // Sets the snapshot's VideoDivId, ListDivId and ListScrollId, removes every zevohtml5*.js of
    // earlier runs once the new text is ready, and writes the script as one line.
    static void writeHtml5PlaylistScript(const GenerationContext& ctx);

    // The whole script, without its line end.
    static QString text(const GenerationContext& ctx);
};
