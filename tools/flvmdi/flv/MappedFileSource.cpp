#include "MappedFileSource.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "FileIo.h"
#include "FlvFormat.h"

namespace flvmdi {

namespace {

uint64_t pageSize() {
    static const uint64_t size = uint64_t(::sysconf(_SC_PAGESIZE));
    return size;
}

}  // namespace

MappedFileSource::MappedFileSource(int fd, uint64_t size, size_t window)
    : fd_(fd), size_(size), window_(std::max<size_t>(window, size_t(pageSize()))) {}

MappedFileSource::~MappedFileSource() {
    unmap();
}

void MappedFileSource::unmap() {
    if (mapping_)
        ::munmap(const_cast<uint8_t*>(mapping_), mappingLength_);
    mapping_ = nullptr;
    mappingLength_ = 0;
}

void MappedFileSource::map(uint64_t start, size_t length) {
    unmap();
    void* p = ::mmap(nullptr, length, PROT_READ, MAP_SHARED, fd_, off_t(start));
    if (p == MAP_FAILED)
        io::fail("cannot read the file", errno);
    mapping_ = static_cast<const uint8_t*>(p);
    mappingStart_ = start;
    mappingLength_ = length;
}

std::span<const uint8_t> MappedFileSource::view(uint64_t offset, size_t n) {
    if (offset >= size_)
        return {};
    n = size_t(std::min<uint64_t>(n, size_ - offset));
    if (!mapping_ || offset < mappingStart_ || offset + n > mappingStart_ + mappingLength_) {
        // Pages already scanned are given back when the window moves on, so the process never
        // holds more than one window of the file.
        const uint64_t start = offset / pageSize() * pageSize();
        const uint64_t wanted = std::max<uint64_t>(window_, offset + n - start);
        map(start, size_t(std::min(wanted, size_ - start)));
    }
    return {mapping_ + (offset - mappingStart_), n};
}

std::unique_ptr<ByteSource> MappedFileSource::open(int fd, uint64_t size) {
    auto mapped = std::make_unique<MappedFileSource>(fd, size);
    try {
        mapped->view(0, 1);
        return mapped;
    } catch (const IoError&) {
        return std::make_unique<FileSource>(fd, size);
    }
}

}  // namespace flvmdi
