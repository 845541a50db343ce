// Injects the metadata into one FLV file: reads it once to work everything out, then either
// leaves it alone (nothing would change), overwrites the metadata region in place (the new tag
// fits into the old one) or writes the whole new file beside it and renames it over.
#pragma once

#include <cstdint>
#include <filesystem>

#include "EarlyCopy.h"
#include "LockedVideo.h"
#include "MetadataCalculator.h"

namespace flvmdi {

struct InjectResult {
    enum class Kind { Rewritten, UpdatedInPlace, Unchanged };
    Kind kind = Kind::Unchanged;
    size_t keyframes = 0;
    uint64_t fileSize = 0;
    bool recoveredUpdate = false;   // an interrupted earlier update was undone first
    size_t leftoversRemoved = 0;    // new files of killed runs: see Leftovers
    bool stampMatched = false;      // left as it is without a scan: see InjectionStamp
    uint64_t directBytes = 0;       // written by direct I/O: see FlvWriter
    bool copiedDuringScan = false;  // see EarlyCopy
};

class Injector {
  public:
    explicit Injector(InjectOptions options, EarlyCopy::Tuning tuning = {},
                      LockedVideo::Patience patience = {})
        : options_(options), tuning_(tuning), patience_(patience) {}
    // Throws FlvError for a file that cannot be injected and IoError when the system refuses;
    // either way the file is as it was.
    InjectResult inject(const std::filesystem::path& path) const;

  private:
    InjectOptions options_;
    EarlyCopy::Tuning tuning_;
    LockedVideo::Patience patience_;
};

}  // namespace flvmdi
