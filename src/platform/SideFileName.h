#pragma once

#include <QString>

// The hidden name a file is written under beside its target before it takes the target's name
// (the copies, the generated files, the HTML5 copies).
namespace SideFileName {

// "." + `targetName` + `tail`, within the 255 bytes a name may hold, so every name the file
// system holds can be written: a longer name is cut (never inside a letter) and keeps a short
// hash of itself, so long names that begin alike still get side files of their own.
QString of(const QString& targetName, const QString& tail);

}  // namespace SideFileName
