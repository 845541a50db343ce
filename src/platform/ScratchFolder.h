#pragma once

#include <QString>

// The scratch folder "temp" of the application folder: the local test page with its copies of a
// run's files, the rendered intro and outro pictures, the thumbnails' work files. Every path into
// it is made here, so the folder's name and layout live in one place.
namespace ScratchFolder {

// The folder itself, ending in the platform's separator.
QString path(const QString& appFolder);
// A file or folder directly inside it.
QString file(const QString& appFolder, const QString& name);
// The thumbnails' folder inside it, ending in the platform's separator.
QString thumbs(const QString& appFolder);
// The hidden folder of the thumbnails' work files, inside the thumbnails' folder and ending in
// the platform's separator: no thumbnail's name can meet a work file's there.
QString thumbsWork(const QString& appFolder);
// The local test page, which is never uploaded.
QString localTestPage(const QString& appFolder);

}  // namespace ScratchFolder
