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
#include "archive/folder_beneath.h"

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
                                             uint64_t budget, UnpackReport& report)
    : folder_(std::move(folder)), limits_(limits), budget_(budget), report_(report) {
    root_ = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

CYbArchiveEntryWriter::~CYbArchiveEntryWriter() {
    if (root_ >= 0) ::close(root_);
}

int CYbArchiveEntryWriter::Write(archive* reader, archive_entry* entry, const std::string& relative,
                                 const std::string& name) {
    if (root_ < 0) return Fail(ARCHIVER_ERROR_WRITE, "cannot open the folder " + folder_.string());
    const fs::path target = relative;
    // None of the three formats stores hard links; an entry that claims one is not trusted.
    if (archive_entry_hardlink(entry)) return Refuse(name);
    switch (archive_entry_filetype(entry)) {
        case AE_IFDIR:
            return WriteFolder(target, name);
        case AE_IFREG:
            return WriteFile(reader, entry, target, name);
        case AE_IFLNK:
            return WriteSymlink(entry, target, name);
        default:
            return Refuse(name);  // devices, pipes and sockets have no place in a text archive
    }
}

int CYbArchiveEntryWriter::Prepare(const fs::path& target) {
    const int folder = OpenFolderBeneath(root_, target.parent_path(), true);
    if (folder < 0) return -1;
    const std::string leaf = target.filename().string();
    struct stat st;
    if (::fstatat(folder, leaf.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return folder;
    if (!S_ISDIR(st.st_mode) && ::unlinkat(folder, leaf.c_str(), 0) == 0) return folder;
    ::close(folder);
    return -1;
}

int CYbArchiveEntryWriter::WriteFile(archive* reader, archive_entry* entry, const fs::path& target,
                                     const std::string& name) {
    const uint64_t room = budget_ - report_.bytes;
    if (archive_entry_size_is_set(entry) && archive_entry_size(entry) >= 0) {
        const auto claimed = static_cast<uint64_t>(archive_entry_size(entry));
        if (claimed > limits_.maxEntryBytes) return FailEntryTooLarge();
        if (claimed > room) return FailTooLarge();
    }
    const CYbUniqueFd folder(Prepare(target));
    if (folder.get() < 0) return Refuse(name);
    const std::string leaf = target.filename().string();
    // O_NOFOLLOW|O_EXCL: never write through a link, whoever placed it.
    const int fd = ::openat(folder.get(), leaf.c_str(),
                            O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, kFileMode);
    if (fd < 0)
        return Fail(ARCHIVER_ERROR_WRITE,
                    (folder_ / target).string() + ": " + std::strerror(errno));
    int result = CopyData(reader, fd);
    if (result == ARCHIVER_OK) SetModificationTime(fd, entry);
    if (::close(fd) != 0 && result == ARCHIVER_OK)
        result =
            Fail(ARCHIVER_ERROR_WRITE, (folder_ / target).string() + ": " + std::strerror(errno));
    if (result != ARCHIVER_OK) {
        ::unlinkat(folder.get(), leaf.c_str(), 0);  // a partial file is worth nothing
        return result;
    }
    ++report_.written;
    return ARCHIVER_OK;
}

int CYbArchiveEntryWriter::CopyData(archive* reader, int fd) {
    std::vector<char> block(kCopyBlock);
    uint64_t entryBytes = 0;
    for (;;) {
        const la_ssize_t n = archive_read_data(reader, block.data(), block.size());
        if (n == 0) return ARCHIVER_OK;
        if (n < 0) {
            const char* why = archive_error_string(reader);
            return Fail(ARCHIVER_ERROR_READ, why ? why : "damaged data");
        }
        entryBytes += static_cast<uint64_t>(n);
        if (entryBytes > limits_.maxEntryBytes) return FailEntryTooLarge();
        if (static_cast<uint64_t>(n) > budget_ - report_.bytes) return FailTooLarge();
        if (!WriteAll(fd, block.data(), static_cast<size_t>(n)))
            return Fail(ARCHIVER_ERROR_WRITE, std::strerror(errno));
        report_.bytes += static_cast<uint64_t>(n);
    }
}

int CYbArchiveEntryWriter::WriteFolder(const fs::path& target, const std::string& name) {
    const CYbUniqueFd parent(OpenFolderBeneath(root_, target.parent_path(), true));
    if (parent.get() < 0) return Refuse(name);
    const std::string leaf = target.filename().string();
    struct stat st;
    // A file or link left in the folder's place by an earlier unpacking gives way.
    if (::fstatat(parent.get(), leaf.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
        !S_ISDIR(st.st_mode) && ::unlinkat(parent.get(), leaf.c_str(), 0) != 0)
        return Refuse(name);
    const CYbUniqueFd folder(OpenFolderBeneath(parent.get(), leaf, true));
    if (folder.get() < 0) return Refuse(name);
    ++report_.written;
    return ARCHIVER_OK;
}

int CYbArchiveEntryWriter::WriteSymlink(archive_entry* entry, const fs::path& target,
                                        const std::string& name) {
    const char* raw = archive_entry_symlink(entry);
    const std::string link = raw ? DecodeEntryName(raw) : std::string();
    if (!SafeLinkTarget(link)) return Refuse(name);
    const CYbUniqueFd folder(Prepare(target));
    if (folder.get() < 0) return Refuse(name);
    if (::symlinkat(link.c_str(), folder.get(), target.filename().c_str()) != 0)
        return Refuse(name);
    ++report_.written;
    return ARCHIVER_OK;
}

int CYbArchiveEntryWriter::FailTooLarge() {
    return Fail(ARCHIVER_ERROR_LIMIT, budget_ < limits_.maxBytes
                                          ? "the archive unpacks to far more than its own size"
                                          : "the archive unpacks to more than the size limit");
}

int CYbArchiveEntryWriter::FailEntryTooLarge() {
    return Fail(ARCHIVER_ERROR_LIMIT, "an entry unpacks to more than the size limit of one file");
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
