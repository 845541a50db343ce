// Writes the new file front to back: our own bytes, and runs of the original file.
//
// A long run whose place within a 4 KiB block is the same in both files goes to the disk by
// direct I/O straight from the mapped pages of the old file: no second copy of a gigabyte in the
// page cache, and it is on the disk when the call returns. On a file system that shares blocks
// between files (XFS with reflink, Btrfs) such a run is cloned instead: no byte is copied at all.
// Other runs are copied by the kernel (copy_file_range) or, where it cannot, through a 1 MiB
// buffer.
#pragma once

#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <span>
#include <vector>

namespace flvmdi {

class MappedFileSource;

class FlvWriter {
  public:
    static constexpr uint64_t kDirectMinimum = 16 * 1024 * 1024;

    // Thrown by a copy when the stop flag was raised or the progress asked to stop.
    struct Stopped : std::exception {};
    // Told the output offset reached after each piece of a copy; false stops it (Stopped).
    using Progress = std::function<bool(uint64_t written)>;

    // Writes the output from outputStart on.
    FlvWriter(int input, uint64_t inputSize, int output, uint64_t outputStart = 0);

    // A raised flag ends a long copy early with Stopped: its result is no longer wanted.
    void setStopFlag(const std::atomic<bool>* stop) { stop_ = stop; }
    // Reports every few MiB. Direct I/O writes several pieces at once and cannot report them in
    // order, so a watched copy leaves the data to the kernel (clone or copy_file_range).
    void setProgress(Progress progress);
    void write(std::span<const uint8_t> bytes);
    // Appends bytes [offset, offset + length) of the input; touching runs are merged.
    void copy(uint64_t offset, uint64_t length);
    // Writes what is still pending, without waiting for the disk. Throws IoError.
    void flush() { flushPending(); }
    // Flushes everything to the disk. Throws IoError.
    void finish();
    uint64_t written() const { return written_ + pendingLength_; }
    uint64_t directBytes() const { return directBytes_; }
    uint64_t clonedBytes() const { return clonedBytes_; }

  private:
    using BlockCopy = uint64_t (FlvWriter::*)(uint64_t from, uint64_t to, uint64_t length);
    void flushPending();
    void copyWholeBlocks(uint64_t& from, uint64_t& to, uint64_t& left, BlockCopy blockCopy);
    void copyBuffered(uint64_t& from, uint64_t& to, uint64_t length);
    void copyChunk(uint64_t& from, uint64_t& to, uint64_t length);
    void copyByReading(uint64_t& from, uint64_t& to, uint64_t length);
    uint64_t copyDirect(uint64_t from, uint64_t to, uint64_t length);
    uint64_t copyCloned(uint64_t from, uint64_t to, uint64_t length);
    void report(uint64_t written);
    int writeDirect(MappedFileSource& source, uint64_t from, uint64_t to, size_t length);
    void dropFromCache(MappedFileSource& source, uint64_t offset, uint64_t length);
    bool setDirect(bool on);
    void startWriteback(uint64_t end);
    bool stopped() const { return stop_ && stop_->load(std::memory_order_relaxed); }

    int input_;
    uint64_t inputSize_;
    int output_;
    const std::atomic<bool>* stop_ = nullptr;
    Progress progress_;
    uint64_t chunk_;
    uint64_t written_ = 0;
    uint64_t pendingOffset_ = 0;
    uint64_t pendingLength_ = 0;
    uint64_t writebackStart_;
    uint64_t directBytes_ = 0;
    uint64_t clonedBytes_ = 0;
    bool kernelCopy_ = true;
    bool clonePossible_ = true;
    bool directPossible_ = true;
    std::vector<uint8_t> buffer_;
};

}  // namespace flvmdi
