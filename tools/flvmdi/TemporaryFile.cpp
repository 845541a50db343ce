#include "TemporaryFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <string>

namespace fs = std::filesystem;

namespace flvmdi {

TemporaryFile::TemporaryFile(const fs::path& target) : target_(target) {
    const int fd = ::open(target.parent_path().c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd >= 0) {
        fd_ = FileDescriptor(fd);
        return;
    }
    name_ = freshName();
    fd_ = io::open(name_, O_RDWR | O_CREAT | O_EXCL, 0600);
}

TemporaryFile::~TemporaryFile() {
    if (!name_.empty())
        ::unlink(name_.c_str());
}

void TemporaryFile::takeOwnership(const struct stat& video) {
    if (::fchmod(fd(), video.st_mode & 07777) != 0)
        io::fail("cannot give the new file the video's permissions", errno);
    // Only root may hand a file to another owner; a user keeps the file as theirs.
    if (::fchown(fd(), video.st_uid, video.st_gid) != 0 && errno != EPERM)
        io::fail("cannot give the new file the video's owner", errno);
}

void TemporaryFile::replaceTarget() {
    if (name_.empty()) {
        const fs::path name = freshName();
        const std::string self = "/proc/self/fd/" + std::to_string(fd_.get());
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) != 0)
            io::fail("cannot create the new file beside the video", errno);
        name_ = name;
    }
    if (::rename(name_.c_str(), target_.c_str()) != 0)
        io::fail("cannot replace the video with the new file", errno);
    name_.clear();
    io::syncFolder(target_.parent_path());
}

fs::path TemporaryFile::freshName() const {
    static std::atomic<unsigned> counter{0};
    // Built piece by piece: GCC 12 at -O3 misreads "." + std::string (-Wrestrict).
    std::string name = ".";
    name += target_.filename().string();
    name += ".flvmdi-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
    return target_.parent_path() / name;
}

}  // namespace flvmdi
