#include "TemporaryFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <string>

#include "ExtendedAttributes.h"

namespace fs = std::filesystem;

namespace flvmdi {

namespace {

// A dead run's file or a stranger's may hold a name; another number is tried then.
constexpr int kNameAttempts = 100;

// What one name in a folder may hold, and the widest "PID-N" behind a prefix (a 32-bit process
// id, a dash, a 32-bit counter).
constexpr size_t kMaxNameBytes = 255;
constexpr size_t kNumberRoom = 10 + 1 + 10;

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

std::string TemporaryFile::hiddenName(const fs::path& target, std::string_view tail,
                                      size_t tailRoom) {
    const std::string name = target.filename().string();
    // Built piece by piece: GCC 12 at -O3 misreads "." + std::string (-Wrestrict).
    std::string hidden = ".";
    if (1 + name.size() + tailRoom <= kMaxNameBytes) {
        hidden += name;
        hidden += tail;
        return hidden;
    }
    // FNV-1a of the whole name: names cut alike still differ by their mark.
    uint32_t hash = 2166136261u;
    for (const unsigned char c : name)
        hash = (hash ^ c) * 16777619u;
    char mark[10];
    std::snprintf(mark, sizeof mark, "~%08x", static_cast<unsigned>(hash));
    size_t kept = kMaxNameBytes - 1 - 9 - tailRoom;
    // Not inside a character: UTF-8 continuation bytes are 10xxxxxx.
    while (kept > 0 && (static_cast<unsigned char>(name[kept]) & 0xC0) == 0x80)
        --kept;
    hidden.append(name, 0, kept);
    hidden += mark;
    hidden += tail;
    return hidden;
}

std::string TemporaryFile::namePrefix(const fs::path& target) {
    // The prefix leaves room for the widest "PID-N" a run gives it.
    return hiddenName(target, ".flvmdi-", std::string_view(".flvmdi-").size() + kNumberRoom);
}

fs::path TemporaryFile::freshName() const {
    static std::atomic<unsigned> counter{0};
    std::string name = namePrefix(target_);
    name += std::to_string(::getpid()) + "-" + std::to_string(counter++);
    return target_.parent_path() / name;
}

}  // namespace flvmdi
