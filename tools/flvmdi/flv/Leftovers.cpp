#include "Leftovers.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <string>
#include <vector>

#include "FileIo.h"
#include "TemporaryFile.h"

namespace fs = std::filesystem;

namespace flvmdi {

namespace {

// Leading decimal digits, at least one; what is left of the text after them.
bool skipNumber(std::string_view& text) {
    size_t digits = 0;
    while (digits < text.size() && std::isdigit(static_cast<unsigned char>(text[digits])))
        ++digits;
    text.remove_prefix(digits);
    return digits > 0;
}

std::vector<std::string> matchingNames(int folder, const std::string& prefix) {
    std::vector<std::string> names;
    DIR* listing = ::fdopendir(::dup(folder));
    if (!listing)
        return names;
    while (const dirent* entry = ::readdir(listing))
        if (Leftovers::matches(entry->d_name, prefix))
            names.emplace_back(entry->d_name);
    ::closedir(listing);
    return names;
}

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Never opens what is not a regular file (a pipe would block, a device may act on being opened),
// and removes the name only while it still names the file whose lock was taken.
bool removeIfDead(int folder, const std::string& name) {
    struct stat named {};
    if (::fstatat(folder, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISREG(named.st_mode))
        return false;
    const FileDescriptor fd(
        ::openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat opened {};
    if (!fd || ::fstat(fd.get(), &opened) != 0 || !sameFile(named, opened))
        return false;
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0)
        return false;  // a live run's file
    struct stat still {};
    return ::fstatat(folder, name.c_str(), &still, AT_SYMLINK_NOFOLLOW) == 0 &&
           sameFile(still, opened) && ::unlinkat(folder, name.c_str(), 0) == 0;
}

}  // namespace

bool Leftovers::matches(std::string_view name, std::string_view prefix) {
    if (!name.starts_with(prefix))
        return false;
    name.remove_prefix(prefix.size());
    if (!skipNumber(name) || !name.starts_with('-'))
        return false;
    name.remove_prefix(1);
    return skipNumber(name) && name.empty();
}

size_t Leftovers::removeDead(const fs::path& video) {
    const FileDescriptor folder(
        ::open(video.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder)
        return 0;
    size_t removed = 0;
    for (const std::string& name : matchingNames(folder.get(), TemporaryFile::namePrefix(video)))
        removed += removeIfDead(folder.get(), name) ? 1 : 0;
    if (removed > 0)
        ::fsync(folder.get());
    return removed;
}

}  // namespace flvmdi
