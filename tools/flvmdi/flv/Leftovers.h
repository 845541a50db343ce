// The new files of runs that were killed between naming them and renaming them over the video
// (".NAME.flvmdi-PID-N", as large as the video), removed by a later run on the same video.
//
// A process id says little: it may have been given to another process since. What tells a dead
// run's file is its lock: every new file is flocked from its creation by the run writing it, and
// the kernel lets go of the lock when that process ends, however it ends. A file whose lock can be
// taken belongs to no live run. Only regular files named exactly so for this video are touched;
// a link, a folder or a pipe under such a name is left alone, and so is anything that cannot be
// opened or removed: this is tidying, never a reason for the injection to fail.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string_view>

namespace flvmdi {

class Leftovers {
  public:
    // The number of files removed.
    static size_t removeDead(const std::filesystem::path& video);
    static bool matches(std::string_view name, std::string_view prefix);
};

}  // namespace flvmdi
