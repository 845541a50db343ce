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

// Reads through a buffer: for files that cannot be mapped into memory.
class FileSource : public ByteSource {
  public:
    // Reads grow up to largestRead while they follow each other. A scan that reads only tag
    // headers and codec headers wants small reads: whole payloads would be copied for nothing.
    FileSource(int fd, uint64_t size, size_t largestRead = 1024 * 1024)
        : fd_(fd), size_(size), largest_(largestRead) {}
    uint64_t size() const override { return size_; }
    std::span<const uint8_t> view(uint64_t offset, size_t n) override;
    // Copies up to n bytes; fewer only at the end of the file.
    size_t readAt(uint64_t offset, uint8_t* dst, size_t n);

  private:
    int fd_;
    uint64_t size_;
    size_t largest_;
    std::vector<uint8_t> buffer_;
    uint64_t bufferStart_ = 0;
    size_t bufferLength_ = 0;
    size_t chunk_ = 0;
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
