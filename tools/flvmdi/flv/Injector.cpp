#include "Injector.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <string>
#include <vector>

#include "EarlyCopy.h"
#include "FileIo.h"
#include "FlvReader.h"
#include "FlvWriter.h"
#include "InjectionStamp.h"
#include "Leftovers.h"
#include "LockedVideo.h"
#include "MappedFileSource.h"
#include "MetadataRegion.h"
#include "TagRuns.h"
#include "TemporaryFile.h"
#include "UndoJournal.h"

namespace fs = std::filesystem;

namespace flvmdi {

namespace {

fs::path resolve(const fs::path& path) {
    std::error_code error;
    const fs::path real = fs::canonical(path, error);
    if (error)
        throw IoError("cannot open the file: " + error.message());
    if (!fs::is_regular_file(real, error))
        throw IoError("not a regular file");
    return real;
}

// The video being injected, opened and locked (see LockedVideo), as it was once any interrupted
// update was undone.
struct Video {
    fs::path path;
    int fd = -1;
    struct stat original {};
    uint64_t size() const { return uint64_t(original.st_size); }
};

// Reads every tag into the calculator. At the first tag that is kept, the copy into the new file
// may start (see EarlyCopy).
std::unique_ptr<EarlyCopy> scan(const Video& video, MetadataCalculator& calculator,
                                const EarlyCopy::Tuning& tuning) {
    const auto source = MappedFileSource::open(video.fd, video.size());
    FlvReader reader(*source);
    calculator.setHeader(reader.readHeader());
    std::unique_ptr<EarlyCopy> early;
    bool keptSeen = false;
    while (const auto tag = reader.next()) {
        if (!keptSeen && MetadataCalculator::isKept(MetadataCalculator::roleOf(*tag))) {
            keptSeen = true;
            early = EarlyCopy::start(video.path, video.fd, video.original, tag->offset, calculator,
                                     *source, tuning);
        }
        calculator.add(*tag);
    }
    return early;
}

// The lock keeps other injectors out, not other programs: one that wrote to the video or renamed
// another file over it meanwhile would otherwise lose its change to ours.
void requireUnchanged(const Video& video) {
    struct stat after {};
    struct stat named {};
    const struct stat& before = video.original;
    if (::fstat(video.fd, &after) != 0 || after.st_size != before.st_size ||
        after.st_mtim.tv_sec != before.st_mtim.tv_sec ||
        after.st_mtim.tv_nsec != before.st_mtim.tv_nsec ||
        ::stat(video.path.c_str(), &named) != 0 || named.st_dev != before.st_dev ||
        named.st_ino != before.st_ino)
        throw IoError("the file changed while it was being injected; nothing was written");
}

// Flushes the complete new file and renames it over the video, unless the video changed meanwhile.
void commit(TemporaryFile& file, const Video& video, const MetadataCalculator& calculator,
            const MetadataRegion& region, InjectOptions options) {
    struct stat written {};
    if (::fstat(file.fd(), &written) != 0 ||
        uint64_t(written.st_size) != calculator.outputSize(region.metaDataSize))
        throw IoError("the file changed while it was being injected; nothing was written");
    io::syncData(file.fd(), "the new file");
    requireUnchanged(video);
    InjectionStamp::write(file.fd(), options, region.bytes, calculator.keyframeCount());
    file.replaceTarget();
}

// Writes the new file front to back; the bytes written by direct I/O.
uint64_t writeInOrder(const Video& video, const MetadataCalculator& calculator,
                      const MetadataRegion& region, InjectOptions options) {
    TemporaryFile temporary(video.path);
    temporary.takeOwnership(video.fd, video.original);
    FlvWriter writer(video.fd, video.size(), temporary.fd());
    writer.write(region.bytes);
    TagRuns::write(calculator.firstTagOffset(), video.size(), calculator, writer);
    writer.flush();
    commit(temporary, video, calculator, region, options);
    return writer.directBytes();
}

InjectResult rewrite(const Video& video, const MetadataCalculator& calculator,
                     const MetadataRegion& region, InjectOptions options,
                     std::unique_ptr<EarlyCopy> early) {
    InjectResult result;
    result.kind = InjectResult::Kind::Rewritten;
    if (early) {
        if (const auto placed = early->complete(calculator)) {
            commit(early->file(), video, calculator, *placed, options);
            result.fileSize = calculator.outputSize(placed->metaDataSize);
            result.directBytes = early->directBytes();
            result.copiedDuringScan = true;
            return result;
        }
        early.reset();
    }
    result.fileSize = calculator.outputSize(region.metaDataSize);
    result.directBytes = writeInOrder(video, calculator, region, options);
    return result;
}

// Overwrites the metadata region of the video itself, through the undo journal; false when the
// bytes are already there. Written through the locked descriptor: the path is only a name, the
// locked inode is the video that was scanned.
bool overwriteRegion(const Video& video, const MetadataRegion& region) {
    std::vector<uint8_t> current(region.bytes.size());
    io::readAt(video.fd, current, 0);
    if (current == region.bytes)
        return false;
    UndoJournal::write(video.path, video.size(), current, region.bytes);
    try {
        io::writeAt(video.fd, region.bytes, 0);
        io::syncData(video.fd, video.path.string());
    } catch (const IoError&) {
        // If putting the old bytes back fails too, the journal stays for the next run.
        io::writeAt(video.fd, current, 0);
        io::syncData(video.fd, video.path.string());
        UndoJournal::remove(video.path);
        throw;
    }
    UndoJournal::remove(video.path);
    return true;
}

InjectResult updateInPlace(const Video& video, const MetadataCalculator& calculator,
                           const MetadataRegion& region, InjectOptions options) {
    requireUnchanged(video);
    InjectResult result;
    result.fileSize = calculator.outputSize(region.metaDataSize);
    result.kind = overwriteRegion(video, region) ? InjectResult::Kind::UpdatedInPlace
                                                 : InjectResult::Kind::Unchanged;
    InjectionStamp::write(video.fd, options, region.bytes, calculator.keyframeCount());
    return result;
}

}  // namespace

InjectResult Injector::inject(const fs::path& given) const {
    Video video{resolve(given)};
    if (::access(video.path.c_str(), W_OK) != 0)
        io::fail("cannot change the file", errno);
    const LockedVideo locked = LockedVideo::open(video.path, patience_);
    video.fd = locked.fd();
    const bool recovered = UndoJournal::recover(video.path, video.fd);
    const size_t leftovers = Leftovers::removeDead(video.path);
    if (::fstat(video.fd, &video.original) != 0)
        io::fail("cannot read the file", errno);

    InjectResult result;
    if (const auto keyframes = InjectionStamp::check(video.fd, options_, video.original)) {
        result.stampMatched = true;
        result.keyframes = *keyframes;
        result.fileSize = video.size();
    } else {
        MetadataCalculator calculator(options_);
        auto early = scan(video, calculator, tuning_);
        const MetadataRegion region = MetadataRegion::decide(calculator);
        if (region.inPlace)
            early.reset();  // the copy is not needed after all
        result = region.inPlace ? updateInPlace(video, calculator, region, options_)
                                : rewrite(video, calculator, region, options_, std::move(early));
        result.keyframes = calculator.keyframeCount();
    }
    result.recoveredUpdate = recovered;
    result.leftoversRemoved = leftovers;
    return result;
}

}  // namespace flvmdi
