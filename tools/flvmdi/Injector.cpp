#include "Injector.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <optional>
#include <string>
#include <vector>

#include "FileIo.h"
#include "FlvReader.h"
#include "FlvWriter.h"
#include "InjectionStamp.h"
#include "MappedFileSource.h"
#include "ScriptTagBuilder.h"
#include "UndoJournal.h"

namespace fs = std::filesystem;

namespace flvmdi {

namespace {

struct Decision {
    uint32_t metaDataSize = 0;
    bool inPlace = false;
    std::vector<uint8_t> region;  // header and metadata tag: the first bytes of the output
};

fs::path resolve(const fs::path& path) {
    std::error_code error;
    const fs::path real = fs::canonical(path, error);
    if (error)
        throw IoError("cannot open the file: " + error.message());
    if (!fs::is_regular_file(real, error))
        throw IoError("not a regular file");
    return real;
}

void scan(int fd, uint64_t size, MetadataCalculator& calculator) {
    const auto source = MappedFileSource::open(fd, size);
    FlvReader reader(*source);
    calculator.setHeader(reader.readHeader());
    while (const auto tag = reader.next())
        calculator.add(*tag);
}

// The padding may also put the longest unchanged stretch of the file at the same place within a
// 4 KiB block in the new file as in the old one; the writer can then hand that stretch to the
// disk straight from the old file's pages.
size_t alignment(const MetadataCalculator& calculator, size_t natural) {
    constexpr uint64_t kBlock = 4096;
    const auto run = calculator.longestRun();
    if (run.length < FlvWriter::kDirectMinimum)
        return 0;
    const uint32_t unaligned = uint32_t(natural + Injector::paddingFor(natural));
    const uint64_t out = calculator.outputOffset(run.position, unaligned);
    return size_t((run.inputOffset % kBlock + kBlock - out % kBlock) % kBlock);
}

Decision decide(const MetadataCalculator& calculator) {
    const size_t natural = ScriptTagBuilder::onMetaDataPayload(calculator.metadata(0), 0).size();
    Decision d;
    const auto existing = calculator.inPlaceDataSize();
    if (existing && *existing >= natural && ScriptTagBuilder::paddingFits(*existing - natural)) {
        d.metaDataSize = *existing;
        d.inPlace = true;
    } else {
        const size_t size =
            natural + Injector::paddingFor(natural) + alignment(calculator, natural);
        if (size > kMaxTagDataSize)
            throw FlvError("the keyframe index is too large for a metadata tag");
        d.metaDataSize = uint32_t(size);
    }
    const auto payload = ScriptTagBuilder::onMetaDataPayload(calculator.metadata(d.metaDataSize),
                                                             d.metaDataSize - natural);
    d.region = ScriptTagBuilder::fileHeader(calculator.headerFlags());
    const auto tag = ScriptTagBuilder::scriptTag(payload, 0);
    d.region.insert(d.region.end(), tag.begin(), tag.end());
    return d;
}

// An unnamed file in the video's folder: if the process dies before it is renamed into place,
// nothing is left behind. File systems without unnamed files get a dotted temporary name.
class TemporaryFile {
  public:
    explicit TemporaryFile(const fs::path& target) : target_(target) {
        const int fd = ::open(target.parent_path().c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
        if (fd >= 0) {
            fd_ = FileDescriptor(fd);
            return;
        }
        name_ = freshName();
        fd_ = io::open(name_, O_RDWR | O_CREAT | O_EXCL, 0600);
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        if (!name_.empty())
            ::unlink(name_.c_str());
    }
    int fd() const { return fd_.get(); }

    void replaceTarget() {
        if (name_.empty()) {
            const fs::path name = freshName();
            const std::string self = "/proc/self/fd/" + std::to_string(fd_.get());
            if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) != 0)
                io::fail("cannot create the new file beside the video", errno);
            name_ = name;
        }
        if (::rename(name_.c_str(), target_.c_str()) != 0)
            io::fail("cannot replace the video with the new file", errno);
        name_.clear();
        io::syncFolder(target_.parent_path());
    }

  private:
    fs::path freshName() const {
        static std::atomic<unsigned> counter{0};
        // Built piece by piece: GCC 12 at -O3 misreads "." + std::string (-Wrestrict).
        std::string name = ".";
        name += target_.filename().string();
        name += ".flvmdi-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
        return target_.parent_path() / name;
    }

    fs::path target_;
    fs::path name_;
    FileDescriptor fd_;
};

void copyOwnership(int fd, const struct stat& original) {
    if (::fchmod(fd, original.st_mode & 07777) != 0)
        io::fail("cannot give the new file the video's permissions", errno);
    // Only root may hand a file to another owner; a user keeps the file as theirs.
    if (::fchown(fd, original.st_uid, original.st_gid) != 0 && errno != EPERM)
        io::fail("cannot give the new file the video's owner", errno);
}

// The new file after its header: runs of the old file copied as they are, between the edits the
// scan found and the onLastSecond tag.
void writeTags(uint64_t firstTag, uint64_t end, const MetadataCalculator& calculator,
               FlvWriter& writer) {
    using Kind = MetadataCalculator::Edit::Kind;
    const auto point = calculator.lastSecondPoint();
    const auto lastSecond = point ? ScriptTagBuilder::scriptTag(
                                        ScriptTagBuilder::onLastSecondPayload(), point->timestamp)
                                  : std::vector<uint8_t>{};
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

uint64_t rewrite(const fs::path& path, int input, const struct stat& original,
                 const MetadataCalculator& calculator, const Decision& decision,
                 InjectOptions options) {
    TemporaryFile temporary(path);
    copyOwnership(temporary.fd(), original);
    FlvWriter writer(input, uint64_t(original.st_size), temporary.fd());
    writer.write(decision.region);
    writeTags(calculator.firstTagOffset(), uint64_t(original.st_size), calculator, writer);
    if (writer.written() != calculator.outputSize(decision.metaDataSize))
        throw IoError("the file changed while it was being injected; nothing was written");
    writer.finish();
    requireUnchanged(input, original);
    InjectionStamp::write(temporary.fd(), options, decision.region, calculator.keyframeCount());
    temporary.replaceTarget();
    return writer.directBytes();
}

bool updateInPlace(const fs::path& path, const struct stat& original, const Decision& decision) {
    FileDescriptor fd = io::open(path, O_RDWR);
    std::vector<uint8_t> current(decision.region.size());
    io::readAt(fd.get(), current, 0);
    if (current == decision.region)
        return false;
    UndoJournal::write(path, uint64_t(original.st_size), current, decision.region);
    try {
        io::writeAt(fd.get(), decision.region, 0);
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

size_t Injector::paddingFor(size_t naturalSize) {
    return std::min<size_t>(ScriptTagBuilder::kMaxPadding - 4096, 1024 + naturalSize / 8);
}

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
    scan(input.get(), uint64_t(original.st_size), calculator);
    const Decision decision = decide(calculator);
    result.keyframes = calculator.keyframeCount();
    result.fileSize = calculator.outputSize(decision.metaDataSize);
    if (decision.inPlace) {
        requireUnchanged(input.get(), original);
        result.kind = updateInPlace(path, original, decision) ? InjectResult::Kind::UpdatedInPlace
                                                              : InjectResult::Kind::Unchanged;
        InjectionStamp::write(input.get(), options_, decision.region, result.keyframes);
        return result;
    }
    result.directBytes = rewrite(path, input.get(), original, calculator, decision, options_);
    result.kind = InjectResult::Kind::Rewritten;
    return result;
}

}  // namespace flvmdi
