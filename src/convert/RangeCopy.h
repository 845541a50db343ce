#pragma once

#include <cstdint>
#include <functional>

// Copies a range of one open file to the end of what was written to another, in pieces: whole
// blocks at the same place within a block on both sides are cloned where the file system shares
// blocks (XFS with reflink, Btrfs), the rest copied by the kernel (`copy_file_range`) or with a
// plain read/write loop where the kernel cannot (another file system on an old kernel, special
// files). Between pieces `progress` hears how many bytes are done; false from it stops the copy.
class RangeCopy {
  public:
    using Progress = std::function<bool(uint64_t done)>;

    // Throws std::system_error when reading or writing fails. False when cancelled.
    static bool copy(int from, uint64_t offset, uint64_t length, int to, uint64_t toOffset,
                     const Progress& progress);
    // Pieces of about a hundredth of the copy, so progress moves in whole per cents: whole 4 KiB
    // blocks, or where a hundredth holds 64 KiB, whole 64 KiB runs (up to 2 % then), at most
    // 64 MiB.
    static uint64_t pieceSize(uint64_t length);
};
