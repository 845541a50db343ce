#include "convert/FlvRemux.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <optional>
#include <system_error>

#include "FileIo.h"
#include "FlvFormat.h"
#include "convert/ConversionError.h"
#include "convert/FlvRemuxScan.h"
#include "convert/Mp4Index.h"
#include "convert/ProgressMeter.h"
#include "convert/RangeCopy.h"
#include "convert/SideFile.h"

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

std::optional<RemuxPlan> planFor(int fd) {
    struct stat info = {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    try {
        // Read, not mapped: a source shortened meanwhile ends the scan with an error, where a
        // mapping would end the program with SIGBUS.
        flvmdi::FileSource source(fd, uint64_t(info.st_size));
        return FlvRemuxScan::plan(source);
    } catch (const flvmdi::IoError&) {
        return std::nullopt;
    }
}

void writeAll(int fd, const std::vector<uint8_t>& bytes) {
    for (size_t done = 0; done < bytes.size();) {
        const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            throw std::system_error(errno, std::generic_category(), "write");
        done += size_t(put);
    }
}

QString reason(const std::system_error& error) {
    return QStringLiteral(" (") + QString::fromLocal8Bit(error.code().message().c_str()) +
           QLatin1Char(')');
}

}  // namespace

FlvRemux::Outcome FlvRemux::make(const QString& source, const QString& target,
                                 ProgressMeter& meter) {
    const Descriptor in(::open(QFile::encodeName(source).constData(), O_RDONLY | O_CLOEXEC));
    if (!in.valid())
        return Outcome::NotPossible;
    const std::optional<RemuxPlan> plan = planFor(in.get());
    if (!plan)
        return Outcome::NotPossible;
    const std::vector<uint8_t> head = Mp4Index::head(*plan);
    SideFile side(target);
    try {
        // The side file is new and empty. Truncating it anyway would make ext4 write the whole
        // copy out when it is closed (its guard for files rewritten in place), a wait cp never has.
        Descriptor out(::open(QFile::encodeName(side.path()).constData(), O_WRONLY | O_CLOEXEC));
        if (!out.valid())
            throw std::system_error(errno, std::generic_category(), "open");
        writeAll(out.get(), head);
        const uint64_t length = plan->copyEnd - plan->copyStart;
        const bool copied = RangeCopy::copy(in.get(), plan->copyStart, length, out.get(),
                                            head.size(), [&meter, length](uint64_t done) {
                                                return meter.update(double(done) / double(length));
                                            });
        if (!copied)
            return Outcome::Cancelled;
        out.close();
    } catch (const std::system_error& error) {
        throw ConversionError(QStringLiteral("CANNOT WRITE ") + target + reason(error));
    }
    side.commit();
    return Outcome::Made;
}
