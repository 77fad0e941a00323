#include "archive/folder_beneath.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace Yomibon {

namespace {

constexpr mode_t kFolderMode = 0755;

int OpenPart(int parent, const char* part) {
    return ::openat(parent, part, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

}  // namespace

CYbUniqueFd::~CYbUniqueFd() {
    if (fd_ >= 0) ::close(fd_);
}

int OpenFolderBeneath(int root, const std::filesystem::path& relative, bool create) {
    int fd = ::fcntl(root, F_DUPFD_CLOEXEC, 0);
    for (const std::filesystem::path& part : relative) {
        if (fd < 0) return -1;
        const std::string name = part.string();
        if (name.empty() || name == "." || name == "/") continue;
        if (name == "..") {
            ::close(fd);
            return -1;
        }
        int next = OpenPart(fd, name.c_str());
        if (next < 0 && errno == ENOENT && create &&
            (::mkdirat(fd, name.c_str(), kFolderMode) == 0 || errno == EEXIST))
            next = OpenPart(fd, name.c_str());
        ::close(fd);
        fd = next;
    }
    return fd;
}

}  // namespace Yomibon
