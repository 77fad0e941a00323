#include "settings/file_io.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>

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

// The writer's process id of a TemporaryName suffix "PID-N"; 0 when it is not one.
pid_t TemporaryWriter(std::string_view suffix) {
    const size_t dash = suffix.find('-');
    if (dash == 0 || dash == std::string_view::npos || dash > 9 || dash + 1 == suffix.size())
        return 0;
    auto digits = [](std::string_view s) {
        return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (!digits(suffix.substr(0, dash)) || !digits(suffix.substr(dash + 1))) return 0;
    return pid_t(std::atol(std::string(suffix.substr(0, dash)).c_str()));
}

bool ProcessAlive(pid_t pid) {
    return kill(pid, 0) == 0 || errno == EPERM;
}

// A save killed between creating its temporary file and the rename leaves that file beside
// the target. Such files of this target whose writer is gone are removed; a live writer's
// (another window saving the same file at this moment) is left alone.
void RemoveStaleTemporaries(const std::filesystem::path& file) {
    const std::string prefix = file.filename().string() + ".tmp-";
    const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (!name.starts_with(prefix)) continue;
        const pid_t writer = TemporaryWriter(std::string_view(name).substr(prefix.size()));
        if (writer <= 0 || writer == getpid() || ProcessAlive(writer)) continue;
        std::error_code typeError;
        if (it->symlink_status(typeError).type() == std::filesystem::file_type::regular)
            unlink(it->path().c_str());
    }
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
    out.reserve(std::min(size_t(st.st_size), limit) + 1);
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
    RemoveStaleTemporaries(file);
    if (TryWrite(file, bytes)) return true;
    if (!createFolders || !file.has_parent_path()) return false;
    std::error_code ec;
    std::filesystem::create_directories(file.parent_path(), ec);
    return !ec && TryWrite(file, bytes);
}

}  // namespace Yomibon
