// Reads a file through a window mapped into memory: a scan touches only the pages that hold tag
// headers, without a system call per tag, and the window keeps the mapped part small.
#pragma once

#include <cstdint>
#include <memory>

#include "ByteSource.h"

namespace flvmdi {

class MappedFileSource : public ByteSource {
  public:
    static constexpr size_t kDefaultWindow = 8 * 1024 * 1024;

    MappedFileSource(int fd, uint64_t size, size_t window = kDefaultWindow);
    ~MappedFileSource() override;
    MappedFileSource(const MappedFileSource&) = delete;
    MappedFileSource& operator=(const MappedFileSource&) = delete;

    uint64_t size() const override { return size_; }
    std::span<const uint8_t> view(uint64_t offset, size_t n) override;
    // Gives the mapped window back; the next view maps again.
    void release() { unmap(); }

    // A mapped source where the file allows it, a buffered one otherwise.
    static std::unique_ptr<ByteSource> open(int fd, uint64_t size);

  private:
    void map(uint64_t start, size_t length);
    void unmap();

    int fd_;
    uint64_t size_;
    size_t window_;
    const uint8_t* mapping_ = nullptr;
    uint64_t mappingStart_ = 0;
    size_t mappingLength_ = 0;
};

}  // namespace flvmdi
