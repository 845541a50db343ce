#pragma once

#include <QString>

// The name a file is saved under. A file dialog's filter ("Vidlark Profile File|*.epe") is also
// the filter of the dialog that opens the file again, so a name must end in one of its suffixes:
// a name without one gets the first suffix the filter names appended ("prof1" becomes
// "prof1.epe", and "prof1.txt" becomes "prof1.txt.epe", since "*.epe" would not list
// "prof1.txt"). Suffixes compare without regard to case; a filter with "*" or "*.*" takes any
// name as typed.
namespace SaveFileName {

QString withFilterSuffix(const QString& path, const QString& filter);

}  // namespace SaveFileName
