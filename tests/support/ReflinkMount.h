// A small XFS with shared blocks (reflink), made in an image file and mounted through a loop
// device for one test, to test the copies that clone instead of copying. Needs root, mkfs.xfs
// and loop devices; problem() says which is missing, for the test's skip message. Unmounted and
// removed when the test ends.
#pragma once

#include <fcntl.h>
#include <linux/fiemap.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdint>
#include <vector>

class ReflinkMount {
  public:
    ReflinkMount() {
        const QString mkfs =
            QStandardPaths::findExecutable("mkfs.xfs", {"/usr/sbin", "/sbin", "/usr/bin", "/bin"});
        if (::geteuid() != 0)
            problem_ = "needs root to mount a loop device";
        else if (mkfs.isEmpty())
            problem_ = "mkfs.xfs is not installed (xfsprogs)";
        else if (!dir_.isValid() || !makeImage())
            problem_ = "cannot make the image file";
        else if (QProcess::execute(mkfs, {"-q", "-m", "reflink=1", image()}) != 0)
            problem_ = "mkfs.xfs -m reflink=1 failed";
        else if (!QDir().mkpath(path()) ||
                 QProcess::execute("mount", {"-o", "loop", image(), path()}) != 0)
            problem_ = "cannot mount through a loop device here";
        else
            mounted_ = true;
    }
    ReflinkMount(const ReflinkMount&) = delete;
    ReflinkMount& operator=(const ReflinkMount&) = delete;
    ~ReflinkMount() {
        if (mounted_ && QProcess::execute("umount", {path()}) != 0)
            QProcess::execute("umount", {"-l", path()});
    }

    bool mounted() const { return mounted_; }
    const QString& problem() const { return problem_; }
    QString path() const { return dir_.filePath("mnt"); }
    QString filePath(const QString& name) const { return path() + '/' + name; }

    // The bytes of a file whose blocks it shares with another file.
    static uint64_t sharedBytes(const QString& file) {
        const int fd = ::open(QFile::encodeName(file).constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            return 0;
        // The request and room for its answer in one block, as the ioctl wants them.
        constexpr uint32_t kExtents = 512;
        std::vector<uint8_t> buffer(sizeof(fiemap) + kExtents * sizeof(fiemap_extent));
        auto* map = reinterpret_cast<fiemap*>(buffer.data());
        map->fm_length = FIEMAP_MAX_OFFSET;
        map->fm_flags = FIEMAP_FLAG_SYNC;
        map->fm_extent_count = kExtents;
        uint64_t shared = 0;
        if (::ioctl(fd, FS_IOC_FIEMAP, map) == 0)
            for (uint32_t i = 0; i < map->fm_mapped_extents; ++i)
                if (map->fm_extents[i].fe_flags & FIEMAP_EXTENT_SHARED)
                    shared += map->fm_extents[i].fe_length;
        ::close(fd);
        return shared;
    }

  private:
    // Sparse: only what the file system writes takes room on the disk.
    bool makeImage() const {
        QFile file(image());
        return file.open(QIODevice::WriteOnly) && file.resize(qint64(512) << 20);
    }
    QString image() const { return dir_.filePath("xfs.img"); }

    QTemporaryDir dir_;
    bool mounted_ = false;
    QString problem_;
};
