// Makes the in-place rewrite of the metadata region safe against a crash in the middle of it.
//
// Before the region at the start of the video is overwritten, its old and new bytes go to a small
// journal beside the video, flushed to the disk. If the update is cut short (power cut, kill),
// the video may hold a mix of old and new bytes there; the next run finds the journal and puts
// the old bytes back before doing anything else. A journal that was itself cut short never
// matches its checksum, and the video was not yet touched then, so it is simply removed.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

namespace flvmdi {

class UndoJournal {
  public:
    static std::filesystem::path pathFor(const std::filesystem::path& video);

    static void write(const std::filesystem::path& video, uint64_t fileSize,
                      std::span<const uint8_t> oldBytes, std::span<const uint8_t> newBytes);
    static void remove(const std::filesystem::path& video);
    // Undoes an interrupted update of the video, open and locked as videoFd; true when it put old
    // bytes back. A journal that does not belong to the video as it is now is removed without
    // touching the video.
    static bool recover(const std::filesystem::path& video, int videoFd);
};

}  // namespace flvmdi
