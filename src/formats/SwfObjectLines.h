#pragma once

#include <QString>
#include <QStringList>

#include "formats/GenerationContext.h"

// The lines that create and drive the page's SWFObject, as the Flash embed script and the local
// test page both write them.
namespace SwfObjectLines {

// A double-quoted JavaScript string literal holding `text` exactly.
QString literal(const QString& text);
// `var G  = new SWFObject("skin", "zevosvG", "width", "height", "6", "colour" );` for the tag G,
// sized to the player's box on the page.
QString constructor(const GenerationContext& ctx, const QString& skin);
// With the fluid size on, the call that styles the movie's element so that it shrinks with the
// page and keeps the shape of the player's box; otherwise no line at all.
QStringList fluidStyle(const GenerationContext& ctx);
// One call on the tag's SWFObject: `G.method("a", "b" );`.
QString call(const QString& tag, const QString& method, const QStringList& arguments);

}  // namespace SwfObjectLines
