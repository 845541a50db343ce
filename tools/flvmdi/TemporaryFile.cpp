#include "TemporaryFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <string>

#include "ExtendedAttributes.h"

namespace fs = std::filesystem;

namespace flvmdi {

namespace {

// A dead run's file or a stranger's may hold a name; another number is tried then.
constexpr int kNameAttempts = 100;

}  // namespace

TemporaryFile::TemporaryFile(const fs::path& target) : target_(target) {
    const int fd = ::open(target.parent_path().c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd >= 0)
        fd_ = FileDescriptor(fd);
    else
        createNamed();
    lock();
}

// A named file is open to a cleaning run for the moment before its lock is taken; only a run on a
// video that was replaced behind a live run's back could be cleaning then, and the live run then
// fails at its rename without harm.
void TemporaryFile::createNamed() {
    for (int attempt = 1;; ++attempt) {
        name_ = freshName();
        const int fd = ::open(name_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0) {
            fd_ = FileDescriptor(fd);
            return;
        }
        if (errno != EEXIST || attempt == kNameAttempts) {
            const int error = errno;
            name_.clear();
            io::fail("cannot create the new file beside the video", error);
        }
    }
}

void TemporaryFile::lock() {
    while (::flock(fd_.get(), LOCK_EX | LOCK_NB) != 0)
        if (errno != EINTR)
            io::fail("cannot lock the new file", errno);
}

TemporaryFile::~TemporaryFile() {
    if (!name_.empty())
        ::unlink(name_.c_str());
}

// The attributes go first, while the file is still writable by its owner: a user may only set
// them on a file it may write to.
void TemporaryFile::takeOwnership(int videoFd, const struct stat& video) {
    ExtendedAttributes::copyUser(videoFd, fd());
    if (::fchmod(fd(), video.st_mode & 07777) != 0)
        io::fail("cannot give the new file the video's permissions", errno);
    // Only root may hand a file to another owner; a user keeps the file as theirs.
    if (::fchown(fd(), video.st_uid, video.st_gid) != 0 && errno != EPERM)
        io::fail("cannot give the new file the video's owner", errno);
}

void TemporaryFile::linkNamed() {
    const std::string self = "/proc/self/fd/" + std::to_string(fd_.get());
    for (int attempt = 1;; ++attempt) {
        const fs::path name = freshName();
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            name_ = name;
            return;
        }
        if (errno != EEXIST || attempt == kNameAttempts)
            io::fail("cannot create the new file beside the video", errno);
    }
}

void TemporaryFile::replaceTarget() {
    if (name_.empty())
        linkNamed();
    if (::rename(name_.c_str(), target_.c_str()) != 0)
        io::fail("cannot replace the video with the new file", errno);
    name_.clear();
    io::syncFolder(target_.parent_path());
}

std::string TemporaryFile::namePrefix(const fs::path& target) {
    // Built piece by piece: GCC 12 at -O3 misreads "." + std::string (-Wrestrict).
    std::string prefix = ".";
    prefix += target.filename().string();
    prefix += ".flvmdi-";
    return prefix;
}

fs::path TemporaryFile::freshName() const {
    static std::atomic<unsigned> counter{0};
    std::string name = namePrefix(target_);
    name += std::to_string(::getpid()) + "-" + std::to_string(counter++);
    return target_.parent_path() / name;
}

}  // namespace flvmdi
