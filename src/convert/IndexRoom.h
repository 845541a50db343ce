#pragma once

#include <cstdint>
#include <optional>

#include "flv/ByteSource.h"

// How much room our own remux leaves for the MP4 index in front of the FLV bytes it copies before
// the scan has planned that index. Guessed from the file's first 256 KiB: the index the remux
// would write for the samples there, per sample (so the file's own pattern of durations,
// composition offsets and key frames counts), times the samples of the whole file, counted at the
// first bytes' rate of samples over the time its last tag gives (by bytes where it gives none),
// with a quarter more. Too much room is sent to every viewer as an empty `free` box ahead of the
// first picture; too little makes the remux copy the file a second time.
class IndexRoom {
  public:
    static constexpr uint64_t kLookAhead = 256 << 10;
    // Whole 64 KiB, so the copy's pages lie as the source's do within the page cache's large
    // folios: the kernel copies a file faster to an offset of whole 64 KiB than to one of whole
    // 4 KiB blocks only.
    static constexpr uint64_t kAlignment = 64 << 10;

    // Reads the file's first kLookAhead bytes and its last tag's header. Nothing for a file that
    // does not start as an FLV. IoError from `file` passes through.
    static std::optional<uint64_t> guess(flvmdi::ByteSource& file);
};
