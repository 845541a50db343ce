#pragma once

#include <QStringList>

#include "generate/GenerationContext.h"

// The small pictures beside each title of a playlist in the TitleDescThumb layout: each row's
// thumbnail fitted into 80 x 58 and written as a JPEG under the row's own name into "thumbs" of the
// output folder (and of the scratch folder, for the local test page). Errors raise AppError.
class PlaylistThumbnails {
  public:
    static constexpr int Width = 80;
    static constexpr int Height = 58;

    static void make(const GenerationContext& ctx);
    // The pictures `make` reads, one per row with a thumbnail; none outside that layout.
    static QStringList sources(const GenerationContext& ctx);
    // The files `make` writes, in the output and the scratch folder.
    static QStringList targets(const GenerationContext& ctx);
};
