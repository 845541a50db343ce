// A first injection of a large file mostly waits for the disk to take the copy. So the copy of the
// tags starts at the first tag that is kept, into the new file at a place guessed before the
// metadata size is known, while the scan goes on reading. Once the scan is done, the copy is moved
// by whole blocks to where the metadata tag ends (io::shiftFront), and the few bytes that differ
// from the old file are written around it: the header and metadata tag in front, the onLastSecond
// tag near the end and any PreviousTagSize put right. A file that needs more (tags dropped in the
// middle) or a file system that cannot move the copy is written in order instead.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>

#include "BodyCopy.h"
#include "ByteSource.h"
#include "MetadataCalculator.h"
#include "MetadataRegion.h"
#include "TemporaryFile.h"

namespace flvmdi {

class EarlyCopy {
  public:
    struct Tuning {
        // Smaller files are written in order after the scan: there is little to gain.
        uint64_t minimumSize = 64 * 1024 * 1024;
        // Where the copy starts in the new file; 0 guesses from the file's size.
        uint64_t frontReserve = 0;
    };

    // Called at the first kept tag, after the calculator has seen the tags in front of it.
    // Nothing when the copy is not worth starting: a small file, or a file whose metadata tag
    // looks like ours and will probably be updated in place.
    static std::unique_ptr<EarlyCopy> start(const std::filesystem::path& path, int input,
                                            const struct stat& video, uint64_t firstKept,
                                            const MetadataCalculator& calculator,
                                            ByteSource& source, const Tuning& tuning);

    // The decisions of start and complete, for the copy that injects on the way (CopyInjector),
    // which lays out a file exactly as the injector would.
    // Whether a copy during the scan is started for this file.
    static bool worthStarting(uint64_t size, const MetadataCalculator& calculator,
                              ByteSource& source, const Tuning& tuning);
    // Where the copy of input bytes from firstKept on starts in the new file.
    static uint64_t copyPlace(uint64_t size, uint64_t firstKept, const Tuning& tuning);
    // Whether the copy can be kept once the scan is done: no tag to drop behind its start, and
    // the onLastSecond tag goes behind it.
    static bool keepable(const MetadataCalculator& calculator, uint64_t firstKept);
    // The region in front of a copy that had to move by delta bytes (shifted: whether it could),
    // or nothing when the file has to be written in order.
    static std::optional<MetadataRegion> placed(const MetadataCalculator& calculator,
                                                MetadataRegion region, int64_t delta, bool shifted);

    // Waits for the copy and completes the new file; its metadata region, or nothing when the
    // file has to be written in order after all. Throws IoError.
    std::optional<MetadataRegion> complete(const MetadataCalculator& calculator);

    TemporaryFile& file() { return file_; }
    uint64_t directBytes() const { return directBytes_; }

    EarlyCopy(const std::filesystem::path& path, int input, uint64_t inputSize);

  private:
    std::optional<MetadataRegion> placeCopy(const MetadataCalculator& calculator,
                                            MetadataRegion region);
    void writeAround(const MetadataCalculator& calculator, const MetadataRegion& region);

    int input_;
    uint64_t inputSize_;
    TemporaryFile file_;
    std::unique_ptr<BodyCopy> body_;
    uint64_t directBytes_ = 0;
};

}  // namespace flvmdi
