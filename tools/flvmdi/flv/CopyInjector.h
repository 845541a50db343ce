// Copies a Flash video into another folder with its metadata injected on the way: one read of the
// source instead of a copy followed by the injector's rewrite of that copy.
//
// The source is scanned as the injector scans it and the new file laid out exactly as the
// injector would lay out a plain copy (the same region, padding and tags), so the result is the
// same file byte for byte. Behind the header and metadata the unchanged runs of the source are
// cloned where the file system shares blocks (the padding puts the long run at the same place
// within a block) and copied by the kernel otherwise. The file is written unnamed beside the
// target, stamped (see InjectionStamp) and renamed over the target only when whole, so the
// injector run that follows finds it up to date, and a failure, a stop or a kill leaves the
// source untouched and nothing half-written under the target's name.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>

#include "EarlyCopy.h"
#include "MetadataCalculator.h"

namespace flvmdi {

struct CopyResult {
    uint64_t fileSize = 0;
    size_t keyframes = 0;
    uint64_t clonedBytes = 0;  // shared with the source, not copied
};

class CopyInjector {
  public:
    // Bytes of the new file written so far and its size; false stops the copy.
    using Progress = std::function<bool(uint64_t done, uint64_t total)>;
    // Given the new file, complete, while it is flushed to the disk: a second copy of it made
    // there costs no second wait for the disk. False stops the copy as the progress would.
    using WhileFlushing = std::function<bool(int newFile)>;

    // The tuning must be the injector's, whose layout the copy repeats.
    explicit CopyInjector(InjectOptions options, EarlyCopy::Tuning tuning = {})
        : options_(options), tuning_(tuning) {}

    // Nothing when the progress stopped the copy; while the new file is flushed the progress
    // hears that the whole file is written, every tenth of a second. Throws FlvError for a source
    // that cannot be injected (nothing is written then) and IoError when the system refuses.
    std::optional<CopyResult> copy(const std::filesystem::path& source,
                                   const std::filesystem::path& target,
                                   const Progress& progress = {},
                                   const WhileFlushing& whileFlushing = {}) const;

  private:
    InjectOptions options_;
    EarlyCopy::Tuning tuning_;
};

}  // namespace flvmdi
