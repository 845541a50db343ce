#include "CopyInjector.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <fstream>
#include <future>
#include <string>
#include <vector>

#include "FileIo.h"
#include "FlvReader.h"
#include "FlvWriter.h"
#include "InjectionStamp.h"
#include "MetadataRegion.h"
#include "TagRuns.h"
#include "TemporaryFile.h"

namespace fs = std::filesystem;

namespace flvmdi {

namespace {

constexpr uint64_t kBlock = 4096;

// Read through a buffer, not mapped: a source shortened meanwhile must end the copy with an
// error, not the calling program with SIGBUS. The offset of the first kept tag, or nothing.
std::optional<uint64_t> scan(int fd, uint64_t size, MetadataCalculator& calculator,
                             bool& worthEarlyCopy, const EarlyCopy::Tuning& tuning) {
    FileSource source(fd, size);
    FlvReader reader(source);
    calculator.setHeader(reader.readHeader());
    std::optional<uint64_t> firstKept;
    while (const auto tag = reader.next()) {
        const bool first =
            !firstKept && MetadataCalculator::isKept(MetadataCalculator::roleOf(*tag));
        calculator.add(*tag);
        // Only now: reading the source again moves the buffer the tag's first bytes are in. The
        // kept tag adds no edit in front of the ones the check looks at.
        if (first) {
            firstKept = tag->offset;
            worthEarlyCopy = EarlyCopy::worthStarting(size, calculator, source, tuning);
        }
    }
    return firstKept;
}

// Whether the new file's folder can move a file's content by whole blocks (see io::shiftFront),
// tried on the still empty new file, which is emptied again.
bool canShift(int fd) {
    const std::vector<uint8_t> blocks(2 * kBlock, 0);
    io::writeAt(fd, blocks, 0);
    const bool shifted = io::shiftFront(fd, -int64_t(kBlock));
    if (::ftruncate(fd, 0) != 0)
        io::fail("cannot write", errno);
    return shifted;
}

// The permissions a plain copy would get: the source's, less the process's umask.
mode_t copyMode(mode_t source) {
    mode_t mask = 022;
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("Umask:", 0) == 0)
            mask = mode_t(std::stoul(line.substr(6), nullptr, 8));
    return source & 0777 & ~mask;
}

bool sameState(const struct stat& a, const struct stat& b) {
    return a.st_size == b.st_size && a.st_mtim.tv_sec == b.st_mtim.tv_sec &&
           a.st_mtim.tv_nsec == b.st_mtim.tv_nsec && a.st_ino == b.st_ino;
}

// The new file reaches the disk before its rename, so a power cut cannot leave the target's name
// on a file whose blocks were never written. The flush runs on a thread of its own: meanwhile the
// caller makes its second copy, and the progress is told the copy is whole every tenth of a
// second, so a window showing it stays lively while a slow disk takes a large file. A stop heard
// then takes effect when the flush is done (it cannot be taken back).
bool flush(int fd, const CopyInjector::WhileFlushing& whileFlushing,
           const std::function<bool()>& stillWanted) {
    // The future waits for the flush also when the other work throws.
    std::future<void> flushed =
        std::async(std::launch::async, [fd] { io::syncData(fd, "the new file"); });
    bool wanted = !whileFlushing || whileFlushing(fd);
    while (flushed.wait_for(std::chrono::milliseconds(100)) == std::future_status::timeout)
        wanted = wanted && stillWanted();
    flushed.get();
    return wanted;
}

}  // namespace

std::optional<CopyResult> CopyInjector::copy(const fs::path& sourcePath, const fs::path& target,
                                             const Progress& progress,
                                             const WhileFlushing& whileFlushing) const {
    const FileDescriptor source = io::open(sourcePath, O_RDONLY);
    struct stat before {};
    if (::fstat(source.get(), &before) != 0)
        io::fail("cannot read " + sourcePath.string(), errno);
    if (!S_ISREG(before.st_mode))
        throw IoError(sourcePath.string() + " is not a regular file");
    const uint64_t size = uint64_t(before.st_size);

    MetadataCalculator calculator(options_);
    bool worthEarlyCopy = false;
    const auto firstKept = scan(source.get(), size, calculator, worthEarlyCopy, tuning_);
    TemporaryFile file(target);
    MetadataRegion region = MetadataRegion::decide(calculator);
    // A plain copy of a large file would be injected with a copy during the scan; the region
    // then depends on where that copy went and whether it could be moved.
    if (!region.inPlace && firstKept && worthEarlyCopy && file.unnamed() &&
        EarlyCopy::keepable(calculator, *firstKept)) {
        MetadataRegion early =
            MetadataRegion::decide(calculator, MetadataCalculator::Run{*firstKept, 0, 0});
        const int64_t delta =
            int64_t(early.bytes.size()) - int64_t(EarlyCopy::copyPlace(size, *firstKept, tuning_));
        const bool shifted = delta == 0 || canShift(file.fd());
        if (auto placed = EarlyCopy::placed(calculator, std::move(early), delta, shifted))
            region = std::move(*placed);
    }
    if (::fchmod(file.fd(), copyMode(before.st_mode)) != 0)
        io::fail("cannot set the permissions of the new file", errno);

    const uint64_t total = region.inPlace ? size : calculator.outputSize(region.metaDataSize);
    FlvWriter writer(source.get(), size, file.fd());
    if (progress)
        writer.setProgress([&](uint64_t written) { return progress(written, total); });
    try {
        writer.write(region.bytes);
        if (region.inPlace)
            writer.copy(region.bytes.size(), size - region.bytes.size());
        else
            TagRuns::write(calculator.firstTagOffset(), size, calculator, writer);
        writer.flush();
    } catch (const FlvWriter::Stopped&) {
        return std::nullopt;
    }

    struct stat written {};
    struct stat after {};
    if (::fstat(file.fd(), &written) != 0 || uint64_t(written.st_size) != total ||
        ::fstat(source.get(), &after) != 0 || !sameState(before, after))
        throw IoError(sourcePath.string() + " changed while it was being copied");
    const auto stillWanted = [&progress, total] { return !progress || progress(total, total); };
    if (!flush(file.fd(), whileFlushing, stillWanted))
        return std::nullopt;
    InjectionStamp::write(file.fd(), options_, region.bytes, calculator.keyframeCount());
    file.replaceTarget();
    return CopyResult{total, calculator.keyframeCount(), writer.clonedBytes()};
}

}  // namespace flvmdi
