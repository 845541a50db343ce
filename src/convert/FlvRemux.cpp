#include "convert/FlvRemux.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <atomic>
#include <future>
#include <optional>
#include <system_error>

#include "convert/ApartThread.h"
#include "convert/ConversionError.h"
#include "convert/FlvRemuxScan.h"
#include "convert/IndexRoom.h"
#include "convert/Mp4Index.h"
#include "convert/ProgressMeter.h"
#include "convert/RangeCopy.h"
#include "convert/SideFile.h"
#include "flv/FileIo.h"
#include "flv/FlvFormat.h"

namespace {

class Descriptor {
  public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    // Closes now, so a late write error (e.g. a full disk on a network file system) is heard.
    void close() {
        const int fd = m_fd;
        m_fd = -1;
        if (::close(fd) != 0)
            throw std::system_error(errno, std::generic_category(), "close");
    }

  private:
    int m_fd;
};

// The scan's result: the plan, and the index for a body placed behind the room left for it.
struct Planned {
    RemuxPlan plan;
    std::vector<uint8_t> head;
};

std::optional<Planned> planFor(int fd, uint64_t size, uint64_t room) {
    try {
        // Read, not mapped: a source shortened meanwhile ends the scan with an error, where a
        // mapping would end the program with SIGBUS.
        flvmdi::FileSource source(fd, size);
        std::optional<RemuxPlan> plan = FlvRemuxScan::plan(source);
        if (!plan)
            return std::nullopt;
        std::vector<uint8_t> head = Mp4Index::head(*plan, room + plan->copyStart);
        return Planned{std::move(*plan), std::move(head)};
    } catch (const flvmdi::IoError&) {
        return std::nullopt;
    }
}

std::optional<uint64_t> roomFor(int fd, uint64_t size) {
    try {
        flvmdi::FileSource source(fd, size, IndexRoom::kLookAhead);
        return IndexRoom::guess(source);
    } catch (const flvmdi::IoError&) {
        return std::nullopt;
    }
}

void writeAllAt(int fd, const std::vector<uint8_t>& bytes, uint64_t offset) {
    for (size_t done = 0; done < bytes.size();) {
        const ssize_t put =
            ::pwrite(fd, bytes.data() + done, bytes.size() - done, off_t(offset + done));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            throw std::system_error(errno, std::generic_category(), "write");
        done += size_t(put);
    }
}

void truncate(int fd, uint64_t size) {
    if (::ftruncate(fd, off_t(size)) != 0)
        throw std::system_error(errno, std::generic_category(), "truncate");
}

// Writes the index in front of the body copied to `room` on, and ends the file with the body.
// False when the user cancelled the second copy an index too large for its room needs.
bool placeHead(const Planned& planned, uint64_t room, int in, int out, ProgressMeter& meter) {
    const RemuxPlan& plan = planned.plan;
    if (planned.head.size() == room + plan.copyStart) {
        writeAllAt(out, planned.head, 0);
        truncate(out, room + plan.copyEnd);
        return true;
    }
    truncate(out, 0);
    const std::vector<uint8_t> inOrder = Mp4Index::head(plan);
    writeAllAt(out, inOrder, 0);
    return RangeCopy::copy(in, plan.copyStart, plan.copyEnd - plan.copyStart, out, inOrder.size(),
                           [&meter](uint64_t) { return meter.update(1); });
}

QString reason(const std::system_error& error) {
    return QStringLiteral(" (") + QString::fromLocal8Bit(error.code().message().c_str()) +
           QLatin1Char(')');
}

// What the copy of the whole source behind the room and the scan beside it came to.
struct CopiedAndScanned {
    bool copied = false;  // false when stopped before the end
    bool userStopped = false;
    std::optional<Planned> plan;
};

// The source is copied behind `room` while another thread scans it. Until the scan has said yes
// the copy shows no progress, only hears a Cancel: a file left to FFmpeg then starts its progress
// from nothing, not from where the copy was. From a disk both read at the disk's pace. From memory
// the scan reads as much as the copy writes, and builds the index besides: waiting for it at three
// quarters keeps the last quarter's progress real even for a file copied in a blink, where waiting
// at half way cost a large share of the copy's time.
CopiedAndScanned copyWhileScanning(int in, uint64_t size, uint64_t room, int out,
                                   ProgressMeter& meter) {
    std::atomic<bool> notPossible = false;
    std::atomic<bool> planned = false;
    std::packaged_task<std::optional<Planned>()> scan([in, size, room, &notPossible, &planned] {
        std::optional<Planned> plan = planFor(in, size, room);
        notPossible = !plan;
        planned = bool(plan);
        return plan;
    });
    std::future<std::optional<Planned>> scanned = scan.get_future();
    ApartThread scanning([&scan] { scan(); });
    CopiedAndScanned result;
    const auto progress = [&](uint64_t done) {
        if (!planned && done >= size / 4 * 3) {
            scanning.release();
            scanned.wait();
        }
        if (notPossible)
            return false;
        result.userStopped = !meter.update(planned ? double(done) / double(size) : 0.0);
        return !result.userStopped;
    };
    result.copied = RangeCopy::copy(in, 0, size, out, room, progress);
    scanning.release();
    result.plan = scanned.get();
    return result;
}

// Makes the copy in the side file at `sidePath`; the caller commits it when it is made.
FlvRemux::Outcome remuxInto(int in, uint64_t size, uint64_t room, const QString& sidePath,
                            ProgressMeter& meter) {
    // The side file is new and empty. Truncating it anyway would make ext4 write the whole
    // copy out when it is closed (its guard for files rewritten in place), a wait cp never has.
    Descriptor out(::open(QFile::encodeName(sidePath).constData(), O_WRONLY | O_CLOEXEC));
    if (!out.valid())
        throw std::system_error(errno, std::generic_category(), "open");
    const CopiedAndScanned done = copyWhileScanning(in, size, room, out.get(), meter);
    if (done.userStopped)
        return FlvRemux::Outcome::Cancelled;
    if (!done.plan)
        return FlvRemux::Outcome::NotPossible;
    if (!done.copied || !placeHead(*done.plan, room, in, out.get(), meter))
        return FlvRemux::Outcome::Cancelled;
    out.close();
    return FlvRemux::Outcome::Made;
}

// The size of the file open as `in`; nothing when it is not open or no regular file.
std::optional<uint64_t> regularFileSize(const Descriptor& in) {
    struct stat info = {};
    if (!in.valid() || ::fstat(in.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    return uint64_t(info.st_size);
}

}  // namespace

// The body is copied while the scan plans and builds the index: the whole source goes behind room
// guessed for the index, so each payload lands where the index will point and neither the scan nor
// the index costs time of its own. The bytes around the body become the `free` box and are cut off
// behind it. An index that outgrows its room (a file far denser in samples than its start) is laid
// out again in order, with a second copy of the body.
FlvRemux::Outcome FlvRemux::make(const QString& source, const QString& target,
                                 ProgressMeter& meter) {
    const Descriptor in(::open(QFile::encodeName(source).constData(), O_RDONLY | O_CLOEXEC));
    const std::optional<uint64_t> size = regularFileSize(in);
    const std::optional<uint64_t> room = size ? roomFor(in.get(), *size) : std::nullopt;
    if (!room)
        return Outcome::NotPossible;
    SideFile side(target);
    Outcome outcome = Outcome::NotPossible;
    try {
        outcome = remuxInto(in.get(), *size, *room, side.path(), meter);
    } catch (const std::system_error& error) {
        throw ConversionError(QStringLiteral("CANNOT WRITE ") + target + reason(error));
    }
    if (outcome == Outcome::Made)
        side.commit();
    return outcome;
}
