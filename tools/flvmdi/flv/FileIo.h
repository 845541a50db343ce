// Thin wrappers over the POSIX calls flvmdi needs, turning failures into IoError with the reason.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "ByteSource.h"

namespace flvmdi {

class FileDescriptor {
  public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.release()) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor();

    int get() const { return fd_; }
    int release();
    explicit operator bool() const { return fd_ >= 0; }

  private:
    int fd_ = -1;
};

// Reads through a buffer of whole windows: for files that must not be mapped into memory, where a
// file shortened meanwhile must give an error rather than SIGBUS.
class FileSource : public ByteSource {
  public:
    // A scan of tag headers reads one window per refill instead of a read or two per tag; the
    // payloads read along are copied for nothing, which costs less than the reads saved. Windows
    // much larger than a core's cache copy slower again.
    static constexpr size_t kDefaultWindow = 64 * 1024;

    FileSource(int fd, uint64_t size, size_t window = kDefaultWindow)
        : fd_(fd), size_(size), window_(window) {}
    uint64_t size() const override { return size_; }
    // Fewer than n bytes also where the file became shorter than size().
    std::span<const uint8_t> view(uint64_t offset, size_t n) override;
    // Copies up to n bytes; fewer only at the end of the file.
    size_t readAt(uint64_t offset, uint8_t* dst, size_t n);
    // Reads done so far, for tests of the window's reuse.
    uint64_t refills() const { return refills_; }

  private:
    int fd_;
    uint64_t size_;
    size_t window_;
    std::vector<uint8_t> buffer_;
    uint64_t bufferStart_ = 0;
    size_t bufferLength_ = 0;
    uint64_t refills_ = 0;
};

namespace io {

// "No space left on device" and the like, as the system words it.
std::string reason(int error);
[[noreturn]] void fail(const std::string& what, int error);
FileDescriptor open(const std::filesystem::path& path, int flags, unsigned mode = 0);
void writeAt(int fd, std::span<const uint8_t> bytes, uint64_t offset);
void readAt(int fd, std::span<uint8_t> bytes, uint64_t offset);
void syncData(int fd, const std::string& what);
// Moves the whole content of a file by delta bytes, a multiple of 4 KiB: blank blocks are put in
// front (delta > 0) or front blocks removed (delta < 0), without copying the rest. False where
// the file system cannot do that; throws IoError for other failures.
bool shiftFront(int fd, int64_t delta);
// Makes a rename or unlink in the folder survive a power cut.
void syncFolder(const std::filesystem::path& folder);

}  // namespace io
}  // namespace flvmdi
