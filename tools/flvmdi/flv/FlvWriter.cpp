#include "FlvWriter.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <functional>
#include <memory>
#include <thread>

#include "FileIo.h"
#include "FlvFormat.h"
#include "MappedFileSource.h"

namespace flvmdi {

namespace {

constexpr uint64_t kCopyChunk = 64 * 1024 * 1024;
// A watched copy reports this often, so a stop never waits long.
constexpr uint64_t kWatchedChunk = 8 * 1024 * 1024;
// Shorter runs are not worth a clone: the blocks they would share are few.
constexpr uint64_t kCloneMinimum = 64 * 1024;
constexpr size_t kBufferSize = 1024 * 1024;
constexpr uint64_t kWritebackStep = 32 * 1024 * 1024;
constexpr uint64_t kBlock = 4096;
// Four pieces of 4 MiB in flight keep the disk busy while mapping little of the old file.
constexpr size_t kDirectChunk = 4 * 1024 * 1024;
constexpr int kDirectWriters = 4;

}  // namespace

FlvWriter::FlvWriter(int input, uint64_t inputSize, int output, uint64_t outputStart)
    : input_(input),
      inputSize_(inputSize),
      output_(output),
      chunk_(kCopyChunk),
      written_(outputStart),
      writebackStart_(outputStart) {}

void FlvWriter::setProgress(Progress progress) {
    progress_ = std::move(progress);
    chunk_ = kWatchedChunk;
    directPossible_ = false;
}

void FlvWriter::report(uint64_t written) {
    if (progress_ && !progress_(written))
        throw Stopped();
}

void FlvWriter::write(std::span<const uint8_t> bytes) {
    flushPending();
    io::writeAt(output_, bytes, written_);
    written_ += bytes.size();
}

void FlvWriter::copy(uint64_t offset, uint64_t length) {
    if (pendingLength_ > 0 && pendingOffset_ + pendingLength_ == offset) {
        pendingLength_ += length;
        return;
    }
    flushPending();
    pendingOffset_ = offset;
    pendingLength_ = length;
}

void FlvWriter::flushPending() {
    uint64_t from = pendingOffset_;
    uint64_t to = written_;
    uint64_t left = pendingLength_;
    pendingLength_ = 0;
    if (left >= kCloneMinimum && clonePossible_)
        copyWholeBlocks(from, to, left, &FlvWriter::copyCloned);
    if (left >= kDirectMinimum && directPossible_)
        copyWholeBlocks(from, to, left, &FlvWriter::copyDirect);
    copyBuffered(from, to, left);
    written_ = to;
}

// Clones and direct writes work on whole blocks at the same place within a block on both sides:
// the bytes up to the target's next block boundary go through the buffer first, then `blockCopy`
// takes as many whole blocks as it can and leaves the rest to the caller.
void FlvWriter::copyWholeBlocks(uint64_t& from, uint64_t& to, uint64_t& left, BlockCopy blockCopy) {
    if (from % kBlock != to % kBlock)
        return;
    const uint64_t head = (kBlock - to % kBlock) % kBlock;
    copyBuffered(from, to, head);
    left -= head;
    const uint64_t done = (this->*blockCopy)(from, to, left / kBlock * kBlock);
    from += done;
    to += done;
    left -= done;
}

void FlvWriter::copyBuffered(uint64_t& from, uint64_t& to, uint64_t length) {
    while (length > 0) {
        if (stopped())
            throw Stopped();
        const uint64_t chunk = std::min(length, chunk_);
        copyChunk(from, to, chunk);
        length -= chunk;
        startWriteback(to);
        report(to);
    }
}

// Shares the input's blocks with the output where the file system can (both offsets and the
// length whole blocks); the bytes cloned. The first refusal says the file system cannot, and the
// rest is copied; a clone that fails for want of room fails the write like a copy would.
uint64_t FlvWriter::copyCloned(uint64_t from, uint64_t to, uint64_t length) {
    uint64_t done = 0;
    while (done < length) {
        if (stopped())
            throw Stopped();
        const uint64_t piece = std::min(length - done, chunk_);
        file_clone_range range{input_, from + done, piece, to + done};
        if (::ioctl(output_, FICLONERANGE, &range) != 0) {
            if (errno == EINTR)
                continue;
            if (errno == ENOSPC || errno == EIO || errno == EDQUOT)
                io::fail("cannot write", errno);
            clonePossible_ = false;
            break;
        }
        done += piece;
        report(to + done);
    }
    clonedBytes_ += done;
    return done;
}

bool FlvWriter::setDirect(bool on) {
    const int flags = ::fcntl(output_, F_GETFL);
    return flags >= 0 && ::fcntl(output_, F_SETFL, on ? flags | O_DIRECT : flags & ~O_DIRECT) == 0;
}

// One block-aligned piece from the mapped input; the error number, or 0.
int FlvWriter::writeDirect(MappedFileSource& source, uint64_t from, uint64_t to, size_t length) {
    uint64_t done = 0;
    while (done < length) {
        const auto chunk = source.view(from + done, length - size_t(done));
        const ssize_t put = ::pwrite(output_, chunk.data(), chunk.size(), off_t(to + done));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0 || put % kBlock != 0)
            return put < 0 ? errno : EIO;
        done += uint64_t(put);
    }
    return 0;
}

// The old file is deleted once the new one is in place. Giving back its cached pages while the
// disk is busy with the new ones spares that work at the end, when the last reference goes.
void FlvWriter::dropFromCache(MappedFileSource& source, uint64_t offset, uint64_t length) {
    source.release();
    ::posix_fadvise(input_, off_t(offset), off_t(length), POSIX_FADV_DONTNEED);
}

// Block-aligned on both sides, from the mapped input, several pieces at a time so the disk always
// has the next ones queued. A file system that refuses direct I/O says so on the first piece,
// which is written alone; the buffered copy then does all of it.
uint64_t FlvWriter::copyDirect(uint64_t from, uint64_t to, uint64_t length) {
    if (length == 0 || !setDirect(true)) {
        directPossible_ = false;
        return 0;
    }
    const uint64_t pieces = (length + kDirectChunk - 1) / kDirectChunk;
    auto pieceLength = [&](uint64_t i) {
        return size_t(std::min<uint64_t>(kDirectChunk, length - i * kDirectChunk));
    };
    MappedFileSource first(input_, inputSize_, kDirectChunk);
    int error = writeDirect(first, from, to, pieceLength(0));
    dropFromCache(first, from, pieceLength(0));
    if (error == EINVAL || error == EOPNOTSUPP) {
        directPossible_ = false;
        setDirect(false);
        return 0;
    }
    std::atomic<uint64_t> next{1};
    std::atomic<int> failure{error};
    auto worker = [&](MappedFileSource& source) {
        for (uint64_t i = next++; i < pieces && failure == 0 && !stopped(); i = next++) {
            const int e =
                writeDirect(source, from + i * kDirectChunk, to + i * kDirectChunk, pieceLength(i));
            if (e != 0)
                failure = e;
            dropFromCache(source, from + i * kDirectChunk, pieceLength(i));
        }
    };
    {
        std::vector<std::unique_ptr<MappedFileSource>> sources;
        std::vector<std::thread> helpers;
        for (int i = 1; i < kDirectWriters; ++i) {
            sources.push_back(std::make_unique<MappedFileSource>(input_, inputSize_, kDirectChunk));
            helpers.emplace_back(worker, std::ref(*sources.back()));
        }
        worker(first);
        for (auto& helper : helpers)
            helper.join();
    }
    const bool reset = setDirect(false);
    if (stopped())
        throw Stopped();
    if (failure != 0)
        io::fail("cannot write", failure);
    if (!reset)
        io::fail("cannot write", errno);
    directBytes_ += length;
    return length;
}

// copy_file_range lets the kernel move the pages itself; where it cannot (another file system,
// an old kernel), a 1 MiB buffer does the same.
void FlvWriter::copyChunk(uint64_t& from, uint64_t& to, uint64_t length) {
    while (length > 0 && kernelCopy_) {
        loff_t in = loff_t(from);
        loff_t out = loff_t(to);
        const ssize_t moved = ::copy_file_range(input_, &in, output_, &out, length, 0);
        if (moved < 0 && errno == EINTR)
            continue;
        if (moved < 0 && (errno == EXDEV || errno == ENOSYS || errno == EINVAL ||
                          errno == EOPNOTSUPP || errno == EPERM)) {
            kernelCopy_ = false;
            break;
        }
        if (moved < 0)
            io::fail("cannot write", errno);
        if (moved == 0)
            throw IoError("the file changed while it was being read");
        from += uint64_t(moved);
        to += uint64_t(moved);
        length -= uint64_t(moved);
    }
    if (length > 0)
        copyByReading(from, to, length);
}

void FlvWriter::copyByReading(uint64_t& from, uint64_t& to, uint64_t length) {
    buffer_.resize(kBufferSize);
    while (length > 0) {
        const size_t n = size_t(std::min<uint64_t>(length, buffer_.size()));
        io::readAt(input_, {buffer_.data(), n}, from);
        io::writeAt(output_, {buffer_.data(), n}, to);
        from += n;
        to += n;
        length -= n;
    }
}

// Asking the disk to start on what is written so far keeps the final flush short, and keeps a
// gigabyte of dirty pages from piling up in memory.
void FlvWriter::startWriteback(uint64_t end) {
    if (end - writebackStart_ < kWritebackStep)
        return;
    ::sync_file_range(output_, off_t(writebackStart_), off_t(end - writebackStart_),
                      SYNC_FILE_RANGE_WRITE);
    writebackStart_ = end;
}

void FlvWriter::finish() {
    flushPending();
    io::syncData(output_, "the new file");
}

}  // namespace flvmdi
