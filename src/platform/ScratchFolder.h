#pragma once

#include <QString>

#include "platform/AppPaths.h"

// The scratch folder: the local test page with its copies of a run's files, the rendered intro
// and outro pictures, the thumbnails' work files. Every path into it is made here, so the
// folder's layout lives in one place.
namespace ScratchFolder {

// The folder itself, ending in the platform's separator.
QString path(const AppPaths& paths);
// A file or folder directly inside it.
QString file(const AppPaths& paths, const QString& name);
// The thumbnails' folder inside it, ending in the platform's separator.
QString thumbs(const AppPaths& paths);
// The hidden folder of the thumbnails' work files, inside the thumbnails' folder and ending in
// the platform's separator: no thumbnail's name can meet a work file's there.
QString thumbsWork(const AppPaths& paths);
// The local test page, which is never uploaded.
QString localTestPage(const AppPaths& paths);

}  // namespace ScratchFolder
