#include "EarlyCopy.h"

#include <algorithm>

#include "FileIo.h"
#include "FlvWriter.h"

namespace fs = std::filesystem;

namespace flvmdi {

namespace {

constexpr uint64_t kBlock = 4096;

// Our own metadata tag ends in blank padding strings: a blank, then the end of the array.
bool startsWithPaddedMetadata(const MetadataCalculator& calculator, ByteSource& source) {
    const auto& edits = calculator.edits();
    if (edits.empty() || edits.front().offset != calculator.firstTagOffset() ||
        edits.front().kind != MetadataCalculator::Edit::Kind::Drop)
        return false;
    const uint64_t payloadEnd = edits.front().offset + edits.front().value - kTagTrailerSize;
    static constexpr uint8_t kPaddedEnd[] = {' ', 0, 0, 9};
    return std::ranges::equal(source.view(payloadEnd - sizeof kPaddedEnd, sizeof kPaddedEnd),
                              kPaddedEnd);
}

// Room for a metadata tag with a keyframe every MiB of the file, about right for web video;
// where the guess is wrong, moving the copy by a few blocks costs little.
uint64_t guessedFront(uint64_t fileSize) {
    const size_t natural = 1024 + 18 * size_t(std::max<uint64_t>(fileSize >> 20, 64));
    return kFileHeaderSize + kTagTrailerSize + kTagHeaderSize + natural +
           MetadataRegion::paddingFor(natural) + kTagTrailerSize;
}

}  // namespace

EarlyCopy::EarlyCopy(const fs::path& path, int input, uint64_t inputSize)
    : input_(input), inputSize_(inputSize), file_(path) {}

bool EarlyCopy::worthStarting(uint64_t size, const MetadataCalculator& calculator,
                              ByteSource& source, const Tuning& tuning) {
    return size >= tuning.minimumSize && !startsWithPaddedMetadata(calculator, source);
}

uint64_t EarlyCopy::copyPlace(uint64_t size, uint64_t firstKept, const Tuning& tuning) {
    const uint64_t front = tuning.frontReserve ? tuning.frontReserve : guessedFront(size);
    // The same place within a block as in the old file, for the direct I/O of the copy.
    return front + (firstKept % kBlock + kBlock - front % kBlock) % kBlock;
}

bool EarlyCopy::keepable(const MetadataCalculator& calculator, uint64_t firstKept) {
    const auto point = calculator.lastSecondPoint();
    const bool dropsInside = std::ranges::any_of(calculator.edits(), [&](const auto& edit) {
        return edit.kind == MetadataCalculator::Edit::Kind::Drop && edit.offset >= firstKept;
    });
    return !dropsInside && !(point && point->inputOffset <= firstKept);
}

std::optional<MetadataRegion> EarlyCopy::placed(const MetadataCalculator& calculator,
                                                MetadataRegion region, int64_t delta,
                                                bool shifted) {
    if (shifted)
        return region;
    // Where the copy cannot move, a longer padding may still fill the room in front of it.
    if (delta > 0)
        return std::nullopt;
    return MetadataRegion::sized(calculator, region.metaDataSize + uint64_t(-delta));
}

std::unique_ptr<EarlyCopy> EarlyCopy::start(const fs::path& path, int input,
                                            const struct stat& video, uint64_t firstKept,
                                            const MetadataCalculator& calculator,
                                            ByteSource& source, const Tuning& tuning) {
    const uint64_t size = uint64_t(video.st_size);
    if (!worthStarting(size, calculator, source, tuning))
        return nullptr;
    std::unique_ptr<EarlyCopy> early;
    try {
        early = std::make_unique<EarlyCopy>(path, input, size);
        early->file_.takeOwnership(input, video);
    } catch (const IoError&) {
        return nullptr;  // the file may still be updated in place; a rewrite reports the reason
    }
    // A named temporary file would be left behind if the scan ended the process (SIGBUS).
    if (!early->file_.unnamed())
        return nullptr;
    const uint64_t to = copyPlace(size, firstKept, tuning);
    early->body_ = std::make_unique<BodyCopy>(input, size, early->file_.fd(), firstKept, to);
    return early;
}

std::optional<MetadataRegion> EarlyCopy::complete(const MetadataCalculator& calculator) {
    const uint64_t from = body_->from();
    if (!keepable(calculator, from)) {
        body_->abandon();
        return std::nullopt;
    }
    MetadataRegion region = MetadataRegion::decide(calculator, MetadataCalculator::Run{from, 0, 0});
    directBytes_ = body_->finish();
    auto placed = placeCopy(calculator, std::move(region));
    if (placed)
        writeAround(calculator, *placed);
    return placed;
}

std::optional<MetadataRegion> EarlyCopy::placeCopy(const MetadataCalculator& calculator,
                                                   MetadataRegion region) {
    const int64_t delta = int64_t(region.bytes.size()) - int64_t(body_->to());
    const bool shifted = io::shiftFront(file_.fd(), delta);
    return placed(calculator, std::move(region), delta, shifted);
}

// The copy now starts right behind the region; the old file's offset `from` is new offset
// region.size, and behind the onLastSecond point everything moves by that tag's size.
void EarlyCopy::writeAround(const MetadataCalculator& calculator, const MetadataRegion& region) {
    const int fd = file_.fd();
    const uint64_t from = body_->from();
    auto place = [&](uint64_t inputOffset) { return inputOffset - from + region.bytes.size(); };
    io::writeAt(fd, region.bytes, 0);
    const auto point = calculator.lastSecondPoint();
    const auto lastSecond = lastSecondTag(calculator);
    if (point) {
        FlvWriter tail(input_, inputSize_, fd, place(point->inputOffset));
        tail.write(lastSecond);
        tail.copy(point->inputOffset, inputSize_ - point->inputOffset);
        tail.flush();
    }
    for (const auto& edit : calculator.edits()) {
        if (edit.kind != MetadataCalculator::Edit::Kind::FixTrailer)
            continue;
        const bool behind = point && edit.offset >= point->inputOffset;
        uint8_t trailer[kTagTrailerSize];
        writeBe32(trailer, edit.value);
        io::writeAt(fd, trailer, place(edit.offset) + (behind ? lastSecond.size() : 0));
    }
}

}  // namespace flvmdi
