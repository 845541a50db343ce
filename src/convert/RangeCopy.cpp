#include "convert/RangeCopy.h"

#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>
#include <vector>

namespace {

constexpr uint64_t kBlock = 4096;
constexpr uint64_t kRun = 64 << 10;
constexpr uint64_t kMaxPiece = 64 << 20;
constexpr size_t kBuffer = 1 << 20;

[[noreturn]] void fail(const char* what) {
    throw std::system_error(errno, std::generic_category(), what);
}

// Errors that mean "not this way", after which a read/write loop still works.
bool kernelCannot(int error) {
    return error == EXDEV || error == EINVAL || error == ENOSYS || error == EOPNOTSUPP ||
           error == EBADF || error == EPERM;
}

class Copier {
  public:
    Copier(int from, loff_t in, int to, loff_t out)
        : m_from(from), m_to(to), m_in(in), m_out(out) {}

    void piece(uint64_t length) {
        if (m_clone && m_in % kBlock == 0 && m_out % kBlock == 0 && length % kBlock == 0 &&
            byClone(length))
            return;
        while (length > 0) {
            const uint64_t moved = m_kernel ? byKernel(length) : byBuffer(length);
            length -= moved;
        }
    }

  private:
    // Shares the source's blocks where the file system can; the first refusal says it cannot.
    bool byClone(uint64_t length) {
        file_clone_range range{m_from, uint64_t(m_in), length, uint64_t(m_out)};
        int result;
        do {
            result = ::ioctl(m_to, FICLONERANGE, &range);
        } while (result != 0 && errno == EINTR);
        if (result != 0) {
            if (errno == ENOSPC || errno == EIO || errno == EDQUOT)
                fail("copy");
            m_clone = false;
            return false;
        }
        m_in += loff_t(length);
        m_out += loff_t(length);
        return true;
    }

    uint64_t byKernel(uint64_t length) {
        const ssize_t moved = ::copy_file_range(m_from, &m_in, m_to, &m_out, length, 0);
        if (moved > 0)
            return uint64_t(moved);
        if (moved == 0 || kernelCannot(errno)) {
            m_kernel = false;  // nothing of this call was copied, so the loop takes over here
            return 0;
        }
        if (errno == EINTR)
            return 0;
        fail("copy");
    }

    uint64_t byBuffer(uint64_t length) {
        m_buffer.resize(kBuffer);
        const ssize_t got =
            ::pread(m_from, m_buffer.data(), std::min<uint64_t>(length, kBuffer), m_in);
        if (got < 0 && errno == EINTR)
            return 0;
        if (got <= 0) {
            if (got == 0)
                errno = EIO;  // the source became shorter than it was
            fail("read");
        }
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = ::pwrite(m_to, m_buffer.data() + done, size_t(got - done), m_out);
            if (put < 0 && errno == EINTR)
                continue;
            if (put <= 0)
                fail("write");
            done += put;
            m_out += put;
        }
        m_in += got;
        return uint64_t(got);
    }

    int m_from;
    int m_to;
    loff_t m_in;
    loff_t m_out;
    bool m_clone = true;
    bool m_kernel = true;
    std::vector<char> m_buffer;
};

}  // namespace

// A piece that ends inside a run of 64 KiB makes the kernel's next copy start there, and every
// later piece then splits the page cache's large folios: a copy in pieces of an odd number of
// blocks is measurably slower than in one call, in pieces of whole 64 KiB runs as fast.
uint64_t RangeCopy::pieceSize(uint64_t length) {
    const uint64_t hundredth = length / 100;
    if (hundredth < kRun)
        return std::max(hundredth / kBlock * kBlock, kBlock);
    return std::min((hundredth + kRun - 1) / kRun * kRun, kMaxPiece);
}

// The first piece ends where the source's block does and the last starts where one does, so the
// pieces between are whole blocks on both sides when the two offsets lie alike within a block,
// and can be cloned.
bool RangeCopy::copy(int from, uint64_t offset, uint64_t length, int to, uint64_t toOffset,
                     const Progress& progress) {
    Copier copier(from, loff_t(offset), to, loff_t(toOffset));
    const uint64_t piece = pieceSize(length);
    const uint64_t head = std::min(length, (kBlock - offset % kBlock) % kBlock);
    const uint64_t lastBlock = (offset + length) / kBlock * kBlock;
    const uint64_t tailStart = lastBlock > offset + head ? lastBlock - offset : head;
    for (uint64_t done = 0; done < length;) {
        uint64_t now = std::min(piece, length - done);
        if (done < head)
            now = head;
        else if (done < tailStart)
            now = std::min(now, tailStart - done);
        copier.piece(now);
        done += now;
        if (progress && !progress(done))
            return false;
    }
    return true;
}
