#include "FileIo.h"

#include <fcntl.h>
#include <linux/falloc.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "FlvFormat.h"

namespace flvmdi {

namespace {

constexpr uint64_t kBlockSize = 4096;

}  // namespace

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = other.release();
    }
    return *this;
}

FileDescriptor::~FileDescriptor() {
    if (fd_ >= 0)
        ::close(fd_);
}

int FileDescriptor::release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

size_t FileSource::readAt(uint64_t offset, uint8_t* dst, size_t n) {
    size_t done = 0;
    while (done < n) {
        const ssize_t got = ::pread(fd_, dst + done, n - done, off_t(offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            io::fail("cannot read the file", errno);
        if (got == 0)
            break;
        done += size_t(got);
    }
    return done;
}

// A window starts at the block the request is in, so a scan's reads stay block-aligned.
std::span<const uint8_t> FileSource::view(uint64_t offset, size_t n) {
    if (offset >= size_)
        return {};
    n = size_t(std::min<uint64_t>(n, size_ - offset));
    if (offset < bufferStart_ || offset + n > bufferStart_ + bufferLength_) {
        const uint64_t start = offset / kBlockSize * kBlockSize;
        const size_t want = size_t(
            std::min<uint64_t>(std::max<uint64_t>(window_, offset + n - start), size_ - start));
        if (buffer_.size() < want)
            buffer_.resize(want);
        bufferStart_ = start;
        bufferLength_ = readAt(start, buffer_.data(), want);
        ++refills_;
    }
    const uint64_t end = bufferStart_ + bufferLength_;
    if (offset >= end)
        return {};
    return {buffer_.data() + (offset - bufferStart_), size_t(std::min<uint64_t>(n, end - offset))};
}

namespace io {

std::string reason(int error) {
    return std::strerror(error);
}

void fail(const std::string& what, int error) {
    throw IoError(what + ": " + reason(error));
}

FileDescriptor open(const std::filesystem::path& path, int flags, unsigned mode) {
    int fd;
    do {
        fd = ::open(path.c_str(), flags | O_CLOEXEC, mode);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        fail("cannot open " + path.string(), errno);
    return FileDescriptor(fd);
}

void writeAt(int fd, std::span<const uint8_t> bytes, uint64_t offset) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put =
            ::pwrite(fd, bytes.data() + done, bytes.size() - done, off_t(offset + done));
        if (put < 0 && errno == EINTR)
            continue;
        if (put < 0)
            fail("cannot write", errno);
        done += size_t(put);
    }
}

void readAt(int fd, std::span<uint8_t> bytes, uint64_t offset) {
    FileSource source(fd, offset + bytes.size());
    if (source.readAt(offset, bytes.data(), bytes.size()) != bytes.size())
        throw IoError("the file changed while it was being read");
}

void syncData(int fd, const std::string& what) {
    while (::fdatasync(fd) != 0)
        if (errno != EINTR)
            fail("cannot flush " + what, errno);
}

bool shiftFront(int fd, int64_t delta) {
    if (delta == 0)
        return true;
    const int mode = delta > 0 ? FALLOC_FL_INSERT_RANGE : FALLOC_FL_COLLAPSE_RANGE;
    const off_t length = off_t(delta > 0 ? delta : -delta);
    int result;
    do {
        result = ::fallocate(fd, mode, 0, length);
    } while (result != 0 && errno == EINTR);
    if (result == 0)
        return true;
    if (errno == EOPNOTSUPP || errno == EINVAL || errno == ENOSYS)
        return false;
    fail("cannot write", errno);
}

void syncFolder(const std::filesystem::path& folder) {
    FileDescriptor fd = open(folder, O_RDONLY | O_DIRECTORY);
    while (::fsync(fd.get()) != 0)
        if (errno != EINTR)
            fail("cannot flush the folder " + folder.string(), errno);
}

}  // namespace io
}  // namespace flvmdi
