#include "archive/archive_entry_writer.h"

#include <archive.h>
#include <archive_entry.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "archive/archive_entry_path.h"

namespace Yomibon {

namespace fs = std::filesystem;

namespace {

// Extracted files are documents to read: never executable, always rewritable by us.
constexpr mode_t kFileMode = 0644;
constexpr size_t kCopyBlock = 64 * 1024;

bool WriteAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

void SetModificationTime(int fd, archive_entry* entry) {
    if (!archive_entry_mtime_is_set(entry)) return;
    struct timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = archive_entry_mtime(entry);
    times[1].tv_nsec = archive_entry_mtime_nsec(entry);
    ::futimens(fd, times);
}

}  // namespace

CYbArchiveEntryWriter::CYbArchiveEntryWriter(fs::path folder, const UnpackLimits& limits,
                                             UnpackReport& report)
    : folder_(std::move(folder)), limits_(limits), report_(report) {}

int CYbArchiveEntryWriter::Write(archive* reader, archive_entry* entry, const std::string& relative,
                                 const std::string& name) {
    const fs::path target = folder_ / relative;
    // None of the three formats stores hard links; an entry that claims one is not trusted.
    if (archive_entry_hardlink(entry)) return Refuse(name);
    switch (archive_entry_filetype(entry)) {
        case AE_IFDIR:
            return WriteFolder(target, name);
        case AE_IFREG:
            return Prepare(target) ? WriteFile(reader, entry, target) : Refuse(name);
        case AE_IFLNK:
            return WriteSymlink(entry, target, name);
        default:
            return Refuse(name);  // devices, pipes and sockets have no place in a text archive
    }
}

// Makes the parent folders and clears a file or link left at the target by an earlier
// unpacking. False when the place is taken by a folder or cannot be made.
bool CYbArchiveEntryWriter::Prepare(const fs::path& target) {
    std::error_code ec;
    fs::create_directories(target.parent_path(), ec);
    if (!fs::is_directory(target.parent_path(), ec)) return false;
    const fs::file_status status = fs::symlink_status(target, ec);
    if (!fs::exists(status)) return true;
    if (fs::is_directory(status)) return false;
    return ::unlink(target.c_str()) == 0;
}

int CYbArchiveEntryWriter::WriteFile(archive* reader, archive_entry* entry,
                                     const fs::path& target) {
    const uint64_t room = limits_.maxBytes - report_.bytes;
    if (archive_entry_size_is_set(entry) && archive_entry_size(entry) >= 0 &&
        static_cast<uint64_t>(archive_entry_size(entry)) > room)
        return Fail(ARCHIVER_ERROR_LIMIT, "the archive unpacks to more than the size limit");
    // O_NOFOLLOW|O_EXCL: never write through a link, whoever placed it.
    const int fd =
        ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, kFileMode);
    if (fd < 0) return Fail(ARCHIVER_ERROR_WRITE, target.string() + ": " + std::strerror(errno));
    const int result = CopyData(reader, fd);
    if (result == ARCHIVER_OK) SetModificationTime(fd, entry);
    if (::close(fd) != 0 && result == ARCHIVER_OK)
        return Fail(ARCHIVER_ERROR_WRITE, target.string() + ": " + std::strerror(errno));
    if (result != ARCHIVER_OK) {
        ::unlink(target.c_str());  // a partial file is worth nothing
        return result;
    }
    ++report_.written;
    return ARCHIVER_OK;
}

int CYbArchiveEntryWriter::CopyData(archive* reader, int fd) {
    std::vector<char> block(kCopyBlock);
    for (;;) {
        const la_ssize_t n = archive_read_data(reader, block.data(), block.size());
        if (n == 0) return ARCHIVER_OK;
        if (n < 0) {
            const char* why = archive_error_string(reader);
            return Fail(ARCHIVER_ERROR_READ, why ? why : "damaged data");
        }
        if (static_cast<uint64_t>(n) > limits_.maxBytes - report_.bytes)
            return Fail(ARCHIVER_ERROR_LIMIT, "the archive unpacks to more than the size limit");
        if (!WriteAll(fd, block.data(), static_cast<size_t>(n)))
            return Fail(ARCHIVER_ERROR_WRITE, std::strerror(errno));
        report_.bytes += static_cast<uint64_t>(n);
    }
}

int CYbArchiveEntryWriter::WriteFolder(const fs::path& target, const std::string& name) {
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(target, ec);
    if (fs::exists(status) && !fs::is_directory(status) && ::unlink(target.c_str()) != 0)
        return Refuse(name);
    fs::create_directories(target, ec);
    if (!fs::is_directory(target, ec)) return Refuse(name);
    ++report_.written;
    return ARCHIVER_OK;
}

int CYbArchiveEntryWriter::WriteSymlink(archive_entry* entry, const fs::path& target,
                                        const std::string& name) {
    const char* raw = archive_entry_symlink(entry);
    const std::string link = raw ? DecodeEntryName(raw) : std::string();
    if (!SafeLinkTarget(link) || !Prepare(target)) return Refuse(name);
    if (::symlink(link.c_str(), target.c_str()) != 0) return Refuse(name);
    ++report_.written;
    return ARCHIVER_OK;
}

int CYbArchiveEntryWriter::Refuse(const std::string& name) {
    report_.refused.push_back(name);
    return ARCHIVER_OK;
}

int CYbArchiveEntryWriter::Fail(int error, const std::string& why) {
    report_.error = why;
    return error;
}

}  // namespace Yomibon
