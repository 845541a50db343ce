#pragma once

#include <QString>
#include <QStringList>

#include "formats/PlayerBox.h"

// The lines that create and drive the page's SWFObject, as the Flash embed script and the local
// test page both write them.
namespace SwfObjectLines {

// A double-quoted JavaScript string literal holding `text` exactly.
QString literal(const QString& text);
// `var G  = new SWFObject("skin", "zevosvG", "width", "height", "6", "colour" );` for the tag G,
// sized to the player's box on the page.
QString constructor(const QString& tag, const QString& skin, const PlayerBox& box,
                    const QString& backgroundColor);
// With the fluid size on, the call that styles the movie's element so that it shrinks with the
// page and keeps the shape of the player's box; otherwise no line at all.
QStringList fluidStyle(const QString& tag, const PlayerBox& box, bool fluidSize);
// One call on the tag's SWFObject: `G.method("a", "b" );`.
QString call(const QString& tag, const QString& method, const QStringList& arguments);

}  // namespace SwfObjectLines
