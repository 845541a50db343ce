#pragma once

#include <QString>

// A file name that is joined to a folder ("folder + name") and must stay a file of that folder:
// no folder separator of either system, not "." or "..", and no control character. Playlist
// files travel between people, so a name in one is never trusted to be plain.
class PlainFileName {
  public:
    // Why a name is not plain, in the words of the message ("IT HOLDS A FOLDER SEPARATOR"), or
    // empty for a plain name. An empty name is plain: it names no file at all.
    static QString fault(const QString& name);
};
