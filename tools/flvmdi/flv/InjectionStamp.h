// Remembers, in an extended attribute of the video, the state flvmdi left it in: options, size,
// modification time, inode and a hash of the metadata region. The generation run injects every
// video on every run; a video whose stamp still matches was not written to since, so its
// metadata is still right and the scan of its gigabytes can be skipped.
//
// Any write to the file's data moves its modification time, and a copy of the file carries no
// stamp, so both are scanned again. Where the file system keeps no extended attributes, every
// run scans.
#pragma once

#include <sys/stat.h>

#include <cstddef>
#include <optional>
#include <span>
#include <string>

#include "MetadataCalculator.h"

namespace flvmdi {

class InjectionStamp {
  public:
    static constexpr const char* kAttribute = "user.flvmdi";

    static std::string describe(InjectOptions options, const struct stat& st,
                                std::span<const uint8_t> region, size_t keyframes);
    // Stamps the open file as it is now; a file system that refuses is left without a stamp.
    static void write(int fd, InjectOptions options, std::span<const uint8_t> region,
                      size_t keyframes);
    // The keyframe count recorded when the stamp matches the file as it is now.
    static std::optional<size_t> check(int fd, InjectOptions options, const struct stat& st);
};

}  // namespace flvmdi
