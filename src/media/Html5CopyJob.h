#pragma once

#include <QString>

// One HTML5 copy a selection asks for: the Flash video it is made from, where the copy goes, and
// the playlist row it is for (-1 for the single video).
struct Html5CopyJob {
    QString source;
    QString target;
    int row = -1;
};
