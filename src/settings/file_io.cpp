#include "settings/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>

namespace Yomibon {
namespace {

// Closes a descriptor on every way out.
struct FileDescriptor {
    int fd = -1;
    ~FileDescriptor() {
        if (fd >= 0) close(fd);
    }
};

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(size_t(n));
    }
    return true;
}

std::filesystem::path TemporaryName(const std::filesystem::path& file) {
    static std::atomic<unsigned> counter{0};
    std::filesystem::path tmp = file;
    tmp += ".tmp-" + std::to_string(getpid()) + "-" + std::to_string(counter++);
    return tmp;
}

bool TryWrite(const std::filesystem::path& file, std::string_view bytes) {
    std::filesystem::path tmp = TemporaryName(file);
    // Keep the permissions of a file that is being replaced.
    mode_t mode = 0644;
    struct stat st;
    if (stat(file.c_str(), &st) == 0) mode = st.st_mode & 07777;
    FileDescriptor out;
    out.fd = open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (out.fd < 0) return false;
    bool ok = WriteAll(out.fd, bytes) && fsync(out.fd) == 0;
    ok = close(out.fd) == 0 && ok;
    out.fd = -1;
    if (ok && rename(tmp.c_str(), file.c_str()) == 0) return true;
    unlink(tmp.c_str());
    return false;
}

}  // namespace

bool ReadFileBytes(const std::filesystem::path& file, std::string& out, size_t limit, bool* whole) {
    out.clear();
    if (whole) *whole = false;
    FileDescriptor in;
    // Without blocking: opening a FIFO for reading would wait for a writer forever. Only
    // regular files are read, and O_NONBLOCK changes nothing for them.
    in.fd = open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (in.fd < 0) return false;
    struct stat st;
    if (fstat(in.fd, &st) != 0 || !S_ISREG(st.st_mode)) return false;
    char buffer[65536];
    // One byte past the limit tells a file that ends there from a longer one.
    size_t want = limit + 1;
    while (out.size() < want) {
        ssize_t n = read(in.fd, buffer, std::min(sizeof buffer, want - out.size()));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) break;
        out.append(buffer, size_t(n));
    }
    if (whole) *whole = out.size() <= limit;
    if (out.size() > limit) out.resize(limit);
    return true;
}

bool WriteFileAtomic(const std::filesystem::path& file, std::string_view bytes,
                     bool createFolders) {
    if (file.empty()) return false;
    if (TryWrite(file, bytes)) return true;
    if (!createFolders || !file.has_parent_path()) return false;
    std::error_code ec;
    std::filesystem::create_directories(file.parent_path(), ec);
    return !ec && TryWrite(file, bytes);
}

}  // namespace Yomibon
