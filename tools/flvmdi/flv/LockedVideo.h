// The video, opened for reading and writing and locked for the whole run: the scan, the decision
// and the write all happen under one exclusive flock, so two injectors of one file take turns.
//
// The lock belongs to the inode, while a rewrite renames a new inode over the path. An injector
// that opened the file just before another one renamed its new file over it would get the lock of
// the old inode once the other is done, and would then work on a file that is no longer the
// video. So after taking the lock the path must still name the very file that was opened, with
// its size unchanged; otherwise the injector starts over on what the path names now.
#pragma once

#include <sys/stat.h>

#include <chrono>
#include <filesystem>

#include "FileIo.h"

namespace flvmdi {

class LockedVideo {
  public:
    struct Patience {
        // How long another injector may keep the file before this one gives up.
        std::chrono::milliseconds lockWait = std::chrono::minutes(10);
        // How often the file may be found replaced before this one gives up.
        int attempts = 5;
    };

    // Throws IoError when the file cannot be opened, stays locked or keeps being replaced.
    static LockedVideo open(const std::filesystem::path& path, const Patience& patience);

    int fd() const { return fd_.get(); }

  private:
    explicit LockedVideo(FileDescriptor fd) : fd_(std::move(fd)) {}

    FileDescriptor fd_;
};

}  // namespace flvmdi
