#include "InjectionStamp.h"

#include <sys/xattr.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "FileIo.h"
#include "FlvFormat.h"

namespace flvmdi {

namespace {

// The header and the largest metadata tag.
constexpr size_t kMaxRegion =
    kFileHeaderSize + kTagTrailerSize + kTagHeaderSize + kMaxTagDataSize + kTagTrailerSize;

uint64_t fnv1a(std::span<const uint8_t> bytes) {
    uint64_t hash = 0xcbf29ce484222325ULL;
    for (const uint8_t b : bytes)
        hash = (hash ^ b) * 0x100000001b3ULL;
    return hash;
}

}  // namespace

std::string InjectionStamp::describe(InjectOptions options, const struct stat& st,
                                     std::span<const uint8_t> region, size_t keyframes) {
    char text[256];
    std::snprintf(text, sizeof text,
                  "flvmdi1 k=%d l=%d size=%llu mtime=%lld.%09ld ino=%llu region=%zu:%016llx "
                  "keyframes=%zu",
                  int(options.keyframes), int(options.lastSecond),
                  static_cast<unsigned long long>(st.st_size),
                  static_cast<long long>(st.st_mtim.tv_sec), long(st.st_mtim.tv_nsec),
                  static_cast<unsigned long long>(st.st_ino), region.size(),
                  static_cast<unsigned long long>(fnv1a(region)), keyframes);
    return text;
}

void InjectionStamp::write(int fd, InjectOptions options, std::span<const uint8_t> region,
                           size_t keyframes) {
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return;
    const std::string text = describe(options, st, region, keyframes);
    ::fsetxattr(fd, kAttribute, text.data(), text.size(), 0);
}

std::optional<size_t> InjectionStamp::check(int fd, InjectOptions options, const struct stat& st) {
    char stored[256];
    const ssize_t length = ::fgetxattr(fd, kAttribute, stored, sizeof stored - 1);
    if (length <= 0)
        return std::nullopt;
    stored[length] = 0;
    size_t regionSize = 0;
    size_t keyframes = 0;
    const char* at = std::strstr(stored, " region=");
    const char* count = std::strstr(stored, " keyframes=");
    if (!at || !count || std::sscanf(at, " region=%zu:", &regionSize) != 1 ||
        std::sscanf(count, " keyframes=%zu", &keyframes) != 1 ||
        regionSize > uint64_t(st.st_size) || regionSize > kMaxRegion)
        return std::nullopt;
    std::vector<uint8_t> region(regionSize);
    io::readAt(fd, region, 0);
    if (describe(options, st, region, keyframes) != std::string(stored, size_t(length)))
        return std::nullopt;
    return keyframes;
}

}  // namespace flvmdi
