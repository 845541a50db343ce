// The new file of a rewrite: created unnamed in the video's folder, so a run that dies before it
// is renamed into place leaves nothing behind. File systems without unnamed files get a dotted
// temporary name, removed again unless the file was put in place. Just before the rename the file
// is named ".NAME.flvmdi-PID-N" too (NAME cut short where the whole would not fit in a name); a run
// killed right there leaves it, and later runs remove it (see Leftovers). They tell it from the
// file of a live run by the flock every new file holds from its creation until the process ends.
#pragma once

#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <string_view>

#include "FileIo.h"

namespace flvmdi {

class TemporaryFile {
  public:
    explicit TemporaryFile(const std::filesystem::path& target);
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile();

    int fd() const { return fd_.get(); }
    // Gives the file the video's permissions, its owner where allowed, and its user's extended
    // attributes (see ExtendedAttributes). Throws IoError.
    void takeOwnership(int videoFd, const struct stat& video);
    // True while the file has no name in the folder: nothing to clean up if the process dies.
    bool unnamed() const { return name_.empty(); }
    // Renames the file over the target and flushes the folder. Throws IoError.
    void replaceTarget();

    // Every name the file may have in the folder starts so, followed by "PID-N".
    static std::string namePrefix(const std::filesystem::path& target);
    // ".NAME" + `tail`, hidden beside `target`, where `tailRoom` bytes (at least the tail's) must
    // still fit behind it within the 255 bytes of a name: a longer NAME is cut and marked with a
    // hash of the whole, so every name the file system holds gets hidden names of its own.
    static std::string hiddenName(const std::filesystem::path& target, std::string_view tail,
                                  size_t tailRoom);

  private:
    std::filesystem::path freshName() const;
    void lock();
    void createNamed();
    void linkNamed();

    std::filesystem::path target_;
    std::filesystem::path name_;
    FileDescriptor fd_;
};

}  // namespace flvmdi
