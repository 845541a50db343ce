#include "UndoJournal.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string_view>
#include <vector>

#include "FileIo.h"
#include "FlvFormat.h"
#include "TemporaryFile.h"

namespace flvmdi {

namespace {

constexpr char kMagic[8] = {'F', 'L', 'V', 'M', 'D', 'I', 'U', '1'};
constexpr size_t kFixedSize = 8 + 8 + 4;  // magic, file size, region length
constexpr size_t kMaxRegion = 2 * 16 * 1024 * 1024;

uint64_t fnv1a(std::span<const uint8_t> bytes) {
    uint64_t hash = 0xcbf29ce484222325ULL;
    for (const uint8_t b : bytes)
        hash = (hash ^ b) * 0x100000001b3ULL;
    return hash;
}

void putBe64(std::vector<uint8_t>& out, uint64_t v) {
    for (int shift = 56; shift >= 0; shift -= 8)
        out.push_back(uint8_t(v >> shift));
}

uint64_t getBe64(const uint8_t* p) {
    return uint64_t(readBe32(p)) << 32 | readBe32(p + 4);
}

struct Journal {
    uint64_t fileSize = 0;
    std::span<const uint8_t> oldBytes;
    std::span<const uint8_t> newBytes;
};

bool parse(std::span<const uint8_t> bytes, Journal& journal) {
    if (bytes.size() < kFixedSize + 8 || std::memcmp(bytes.data(), kMagic, 8) != 0)
        return false;
    const auto body = bytes.first(bytes.size() - 8);
    if (fnv1a(body) != getBe64(bytes.data() + body.size()))
        return false;
    journal.fileSize = getBe64(&bytes[8]);
    const uint32_t length = readBe32(&bytes[16]);
    if (body.size() != kFixedSize + 2 * uint64_t(length))
        return false;
    journal.oldBytes = body.subspan(kFixedSize, length);
    journal.newBytes = body.subspan(kFixedSize + length, length);
    return true;
}

[[noreturn]] void refuse(const std::filesystem::path& path) {
    throw IoError(path.string() +
                  " is not a regular file, so it is no journal of flvmdi's; it was left alone");
}

// What sits at the journal path, opened without blocking (a pipe) and without following a link;
// nothing when there is nothing. Anything but a regular file is refused before it is opened, as a
// device may act on being opened, and once more after, in case it was swapped meanwhile.
FileDescriptor openExisting(const std::filesystem::path& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) {
        if (errno == ENOENT)
            return {};
        io::fail("cannot read " + path.string(), errno);
    }
    if (!S_ISREG(st.st_mode))
        refuse(path);
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0 && errno == ELOOP)
        refuse(path);
    if (fd < 0)
        io::fail("cannot open " + path.string(), errno);
    FileDescriptor opened(fd);
    if (::fstat(fd, &st) != 0)
        io::fail("cannot read " + path.string(), errno);
    if (!S_ISREG(st.st_mode))
        refuse(path);
    return opened;
}

std::vector<uint8_t> readWhole(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        io::fail("cannot read the undo journal", errno);
    if (uint64_t(st.st_size) > kFixedSize + 8 + 2 * kMaxRegion)
        return {};
    std::vector<uint8_t> bytes(size_t(st.st_size));
    FileSource(fd, bytes.size()).readAt(0, bytes.data(), bytes.size());
    return bytes;
}

std::vector<uint8_t> encode(uint64_t fileSize, std::span<const uint8_t> oldBytes,
                            std::span<const uint8_t> newBytes) {
    std::vector<uint8_t> bytes(kMagic, kMagic + 8);
    putBe64(bytes, fileSize);
    bytes.resize(bytes.size() + 4);
    writeBe32(&bytes[16], uint32_t(oldBytes.size()));
    bytes.insert(bytes.end(), oldBytes.begin(), oldBytes.end());
    bytes.insert(bytes.end(), newBytes.begin(), newBytes.end());
    putBe64(bytes, fnv1a(bytes));
    return bytes;
}

// Every byte is either still old or already new; anything else means the video was replaced
// since the journal was written.
bool isMixOf(std::span<const uint8_t> current, const Journal& journal) {
    for (size_t i = 0; i < current.size(); ++i)
        if (current[i] != journal.oldBytes[i] && current[i] != journal.newBytes[i])
            return false;
    return true;
}

}  // namespace

std::filesystem::path UndoJournal::pathFor(const std::filesystem::path& video) {
    constexpr std::string_view tail = ".flvmdi-undo";
    return video.parent_path() / TemporaryFile::hiddenName(video, tail, tail.size());
}

// Created afresh: recover() has removed any earlier journal under the video's lock, so whatever
// is there now is not ours and is not written through. A journal that could not be completed is
// removed again: a full disk must not leave it behind.
void UndoJournal::write(const std::filesystem::path& video, uint64_t fileSize,
                        std::span<const uint8_t> oldBytes, std::span<const uint8_t> newBytes) {
    const auto bytes = encode(fileSize, oldBytes, newBytes);
    const auto path = pathFor(video);
    FileDescriptor fd = io::open(path, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NONBLOCK, 0600);
    try {
        io::writeAt(fd.get(), bytes, 0);
        io::syncData(fd.get(), "the undo journal");
        io::syncFolder(video.parent_path());
    } catch (const IoError&) {
        ::unlink(path.c_str());
        throw;
    }
}

void UndoJournal::remove(const std::filesystem::path& video) {
    if (::unlink(pathFor(video).c_str()) != 0 && errno != ENOENT)
        io::fail("cannot remove " + pathFor(video).string(), errno);
    io::syncFolder(video.parent_path());
}

bool UndoJournal::recover(const std::filesystem::path& video, int videoFd) {
    const auto path = pathFor(video);
    const FileDescriptor fd = openExisting(path);
    if (!fd)
        return false;
    const auto bytes = readWhole(fd.get());
    Journal journal;
    bool restored = false;
    if (parse(bytes, journal)) {
        struct stat st {};
        if (::fstat(videoFd, &st) != 0)
            io::fail("cannot read " + video.string(), errno);
        std::vector<uint8_t> current(journal.oldBytes.size());
        if (uint64_t(st.st_size) == journal.fileSize && current.size() <= journal.fileSize) {
            io::readAt(videoFd, current, 0);
            if (isMixOf(current, journal) &&
                !std::equal(current.begin(), current.end(), journal.oldBytes.begin())) {
                io::writeAt(videoFd, journal.oldBytes, 0);
                io::syncData(videoFd, video.string());
                restored = true;
            }
        }
    }
    remove(video);
    return restored;
}

}  // namespace flvmdi
