#pragma once

#include <QString>
#include <QTime>

// The per-run suffix of generated script names, element ids and script identifiers: "a", then
// the minute and the second, two digits each ("a0709" at 14:07:09). The leading letter lets it
// stand at the start of a JavaScript identifier. Runs an exact number of hours apart share it.
class GenerationTag {
  public:
    static QString fromTime(const QTime& time);
};
