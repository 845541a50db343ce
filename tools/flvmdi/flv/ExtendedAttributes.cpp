#include "ExtendedAttributes.h"

#include <sys/xattr.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "FileIo.h"
#include "InjectionStamp.h"

namespace flvmdi {

namespace {

// Another program may add to a list or a value between asking its size and reading it.
constexpr int kSizeAttempts = 4;

bool unsupported(int error) {
    return error == ENOTSUP || error == ENOSYS;
}

// The names, each ended by a zero; nothing where the file system keeps no attributes.
std::vector<char> namesOf(int fd) {
    for (int attempt = 0; attempt < kSizeAttempts; ++attempt) {
        const ssize_t size = ::flistxattr(fd, nullptr, 0);
        if (size <= 0) {
            if (size == 0 || unsupported(errno))
                return {};
            io::fail("cannot read the video's extended attributes", errno);
        }
        std::vector<char> names(static_cast<size_t>(size));
        const ssize_t got = ::flistxattr(fd, names.data(), names.size());
        if (got >= 0) {
            names.resize(size_t(got));
            return names;
        }
        if (errno != ERANGE)
            io::fail("cannot read the video's extended attributes", errno);
    }
    io::fail("cannot read the video's extended attributes", ERANGE);
}

// Nothing when the attribute went away meanwhile.
std::optional<std::string> valueOf(int fd, const char* name) {
    for (int attempt = 0; attempt < kSizeAttempts; ++attempt) {
        const ssize_t size = ::fgetxattr(fd, name, nullptr, 0);
        if (size < 0 && errno == ENODATA)
            return std::nullopt;
        if (size < 0)
            io::fail(std::string("cannot read the video's extended attribute ") + name, errno);
        std::string value(static_cast<size_t>(size), '\0');
        const ssize_t got = ::fgetxattr(fd, name, value.data(), value.size());
        if (got >= 0) {
            value.resize(size_t(got));
            return value;
        }
        if (errno != ERANGE && errno != ENODATA)
            io::fail(std::string("cannot read the video's extended attribute ") + name, errno);
    }
    return std::nullopt;
}

bool copied(std::string_view name) {
    return name.starts_with("user.") && name != InjectionStamp::kAttribute;
}

}  // namespace

void ExtendedAttributes::copyUser(int from, int to) {
    const std::vector<char> names = namesOf(from);
    for (size_t at = 0; at < names.size(); at += std::strlen(&names[at]) + 1) {
        const char* name = &names[at];
        if (!copied(name))
            continue;
        const auto value = valueOf(from, name);
        if (!value)
            continue;
        if (::fsetxattr(to, name, value->data(), value->size(), 0) == 0)
            continue;
        if (unsupported(errno))
            return;
        io::fail(std::string("cannot give the new file the video's extended attribute ") + name,
                 errno);
    }
}

}  // namespace flvmdi
