#include "LockedVideo.h"

#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>
#include <string>
#include <thread>

#include "FlvFormat.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace flvmdi {

namespace {

// Polls rather than blocks: a blocking flock could not be given up after the patience is spent.
// The pause grows, so a long wait costs little, and a short one ends soon after the other run.
bool lockWithin(int fd, std::chrono::milliseconds wait) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    std::chrono::milliseconds pause = 2ms;
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK)
            io::fail("cannot lock the file", errno);
        const auto left = deadline - std::chrono::steady_clock::now();
        if (left <= 0ms)
            return false;
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(pause, left));
        pause = std::min(pause * 2, 100ms);
    }
    return true;
}

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The path still names the opened file, which kept its size while the lock was awaited.
bool stillTheVideo(const fs::path& path, int fd, const struct stat& opened) {
    struct stat locked {};
    struct stat named {};
    if (::fstat(fd, &locked) != 0)
        io::fail("cannot read the file", errno);
    return ::stat(path.c_str(), &named) == 0 && sameFile(named, locked) &&
           sameFile(opened, locked) && locked.st_size == opened.st_size;
}

std::string seconds(std::chrono::milliseconds wait) {
    return std::to_string((wait.count() + 999) / 1000) + " s";
}

}  // namespace

LockedVideo LockedVideo::open(const fs::path& path, const Patience& patience) {
    for (int attempt = 0; attempt < patience.attempts; ++attempt) {
        FileDescriptor fd = io::open(path, O_RDWR);
        struct stat opened {};
        if (::fstat(fd.get(), &opened) != 0)
            io::fail("cannot read the file", errno);
        if (!S_ISREG(opened.st_mode))
            throw IoError("not a regular file");
        if (!lockWithin(fd.get(), patience.lockWait))
            throw IoError("the file stayed locked by another program (another flvmdi?) for " +
                          seconds(patience.lockWait) + "; nothing was written");
        if (stillTheVideo(path, fd.get(), opened))
            return LockedVideo(std::move(fd));
    }
    throw IoError("the file was replaced by another program " + std::to_string(patience.attempts) +
                  " times while waiting for it; nothing was written");
}

}  // namespace flvmdi
