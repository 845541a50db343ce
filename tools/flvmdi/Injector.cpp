#include "Injector.h"

#include <fcntl.h>
#include <sys/file.h>
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
#include "MappedFileSource.h"
#include "MetadataRegion.h"
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

// Reads every tag into the calculator. At the first tag that is kept, the copy into the new file
// may start (see EarlyCopy).
std::unique_ptr<EarlyCopy> scan(const fs::path& path, int fd, const struct stat& video,
                                MetadataCalculator& calculator, const EarlyCopy::Tuning& tuning) {
    const auto source = MappedFileSource::open(fd, uint64_t(video.st_size));
    FlvReader reader(*source);
    calculator.setHeader(reader.readHeader());
    std::unique_ptr<EarlyCopy> early;
    bool keptSeen = false;
    while (const auto tag = reader.next()) {
        if (!keptSeen && MetadataCalculator::isKept(MetadataCalculator::roleOf(*tag))) {
            keptSeen = true;
            early = EarlyCopy::start(path, fd, video, tag->offset, calculator, *source, tuning);
        }
        calculator.add(*tag);
    }
    return early;
}

// The new file after its header: runs of the old file copied as they are, between the edits the
// scan found and the onLastSecond tag.
void writeTags(uint64_t firstTag, uint64_t end, const MetadataCalculator& calculator,
               FlvWriter& writer) {
    using Kind = MetadataCalculator::Edit::Kind;
    const auto point = calculator.lastSecondPoint();
    const auto lastSecond = lastSecondTag(calculator);
    uint64_t position = firstTag;
    bool inserted = !point;
    auto insertUpTo = [&](uint64_t offset) {
        if (inserted || point->inputOffset > offset)
            return;
        writer.copy(position, point->inputOffset - position);
        writer.write(lastSecond);
        position = point->inputOffset;
        inserted = true;
    };
    for (const auto& edit : calculator.edits()) {
        insertUpTo(edit.offset);
        writer.copy(position, edit.offset - position);
        if (edit.kind == Kind::Drop) {
            position = edit.offset + edit.value;
            continue;
        }
        uint8_t trailer[kTagTrailerSize];
        writeBe32(trailer, edit.value);
        writer.write(trailer);
        position = edit.offset + kTagTrailerSize;
    }
    insertUpTo(end);
    writer.copy(position, end - position);
}

void requireUnchanged(int fd, const struct stat& before) {
    struct stat after {};
    if (::fstat(fd, &after) != 0 || after.st_size != before.st_size ||
        after.st_mtim.tv_sec != before.st_mtim.tv_sec ||
        after.st_mtim.tv_nsec != before.st_mtim.tv_nsec)
        throw IoError("the file changed while it was being injected; nothing was written");
}

// Flushes the complete new file and renames it over the video, unless the video changed meanwhile.
void commit(TemporaryFile& file, int input, const struct stat& original,
            const MetadataCalculator& calculator, const MetadataRegion& region,
            InjectOptions options) {
    struct stat written {};
    if (::fstat(file.fd(), &written) != 0 ||
        uint64_t(written.st_size) != calculator.outputSize(region.metaDataSize))
        throw IoError("the file changed while it was being injected; nothing was written");
    io::syncData(file.fd(), "the new file");
    requireUnchanged(input, original);
    InjectionStamp::write(file.fd(), options, region.bytes, calculator.keyframeCount());
    file.replaceTarget();
}

uint64_t rewrite(const fs::path& path, int input, const struct stat& original,
                 const MetadataCalculator& calculator, const MetadataRegion& region,
                 InjectOptions options) {
    TemporaryFile temporary(path);
    temporary.takeOwnership(original);
    FlvWriter writer(input, uint64_t(original.st_size), temporary.fd());
    writer.write(region.bytes);
    writeTags(calculator.firstTagOffset(), uint64_t(original.st_size), calculator, writer);
    writer.flush();
    commit(temporary, input, original, calculator, region, options);
    return writer.directBytes();
}

bool updateInPlace(const fs::path& path, const struct stat& original,
                   const MetadataRegion& region) {
    FileDescriptor fd = io::open(path, O_RDWR);
    std::vector<uint8_t> current(region.bytes.size());
    io::readAt(fd.get(), current, 0);
    if (current == region.bytes)
        return false;
    UndoJournal::write(path, uint64_t(original.st_size), current, region.bytes);
    try {
        io::writeAt(fd.get(), region.bytes, 0);
        io::syncData(fd.get(), path.string());
    } catch (const IoError&) {
        io::writeAt(fd.get(), current, 0);
        io::syncData(fd.get(), path.string());
        UndoJournal::remove(path);
        throw;
    }
    UndoJournal::remove(path);
    return true;
}

}  // namespace

InjectResult Injector::inject(const fs::path& given) const {
    const fs::path path = resolve(given);
    if (::access(path.c_str(), W_OK) != 0)
        io::fail("cannot change the file", errno);
    FileDescriptor input = io::open(path, O_RDONLY);
    // Two injectors on one file would each rename their own copy over it.
    if (::flock(input.get(), LOCK_EX | LOCK_NB) != 0)
        throw IoError("another flvmdi is working on this file");
    InjectResult result;
    result.recoveredUpdate = UndoJournal::recover(path);

    struct stat original {};
    if (::fstat(input.get(), &original) != 0)
        io::fail("cannot read the file", errno);
    if (const auto keyframes = InjectionStamp::check(input.get(), options_, original)) {
        result.kind = InjectResult::Kind::Unchanged;
        result.stampMatched = true;
        result.keyframes = *keyframes;
        result.fileSize = uint64_t(original.st_size);
        return result;
    }
    MetadataCalculator calculator(options_);
    auto early = scan(path, input.get(), original, calculator, tuning_);
    const MetadataRegion region = MetadataRegion::decide(calculator);
    result.keyframes = calculator.keyframeCount();
    if (region.inPlace) {
        early.reset();
        requireUnchanged(input.get(), original);
        result.fileSize = calculator.outputSize(region.metaDataSize);
        result.kind = updateInPlace(path, original, region) ? InjectResult::Kind::UpdatedInPlace
                                                            : InjectResult::Kind::Unchanged;
        InjectionStamp::write(input.get(), options_, region.bytes, result.keyframes);
        return result;
    }
    result.kind = InjectResult::Kind::Rewritten;
    if (early) {
        if (const auto placed = early->complete(calculator)) {
            commit(early->file(), input.get(), original, calculator, *placed, options_);
            result.fileSize = calculator.outputSize(placed->metaDataSize);
            result.directBytes = early->directBytes();
            result.copiedDuringScan = true;
            return result;
        }
        early.reset();
    }
    result.fileSize = calculator.outputSize(region.metaDataSize);
    result.directBytes = rewrite(path, input.get(), original, calculator, region, options_);
    return result;
}

}  // namespace flvmdi
