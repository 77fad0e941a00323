// Unpacking through an archiver library: the shared base of the three extractors, the
// choice of extractor by file extension, and the result codes of an extraction.
#pragma once

#include <string>
#include <string_view>

#include "archive/archiver_api.h"

namespace Yomibon {

// Result codes of an extraction.
enum ArchiveResult : int {
    ARCHIVE_RESULT_OK = 0,
    ARCHIVE_RESULT_COMMAND_FAILED = 1,  // the command entry failed, or none is configured
    ARCHIVE_RESULT_UNSUPPORTED = 2,     // the test rejected the file, or no such extractor
    ARCHIVE_RESULT_MISSING = 3,         // the archive file does not exist
    ARCHIVE_RESULT_NO_LIBRARY = 4,      // the library or one of its entry points is missing
    ARCHIVE_RESULT_BUSY = 5,            // the library is already running
    ARCHIVE_RESULT_TOO_LARGE = 6,       // stopped at a size, count or ratio limit
};

// Capacity of the library-name buffer of ExtractArchive, in UTF-16 units.
constexpr size_t kArchiveDllNameSize = 1024;

// True when the extension of the final path component is LZH, ZIP or 7Z in any case.
bool IsArchivePath(std::u16string_view path);

// Extracts with the extractor the extension names (any other extension gives
// ARCHIVE_RESULT_UNSUPPORTED before anything is loaded). On failure `dllName` receives
// the library's file name (at most kArchiveDllNameSize - 1 units). The library is
// released before returning.
int ExtractArchive(std::u16string_view archivePath, std::u16string& dllName,
                   std::u16string_view destFolder);

class CYbArchiveBase {
  public:
    enum Entry { ENTRY_VERSION = 1, ENTRY_RUNNING = 2, ENTRY_CHECK = 3, ENTRY_COMMAND = 4 };

    virtual ~CYbArchiveBase();
    // Unpacks the archive into the folder; one of the ArchiveResult codes.
    virtual int Extract(std::u16string_view archivePath, std::u16string_view destFolder);

    const std::u16string& LibraryName() const { return libName_; }

    CYbArchiveBase(const CYbArchiveBase&) = delete;
    CYbArchiveBase& operator=(const CYbArchiveBase&) = delete;

  protected:
    CYbArchiveBase() = default;

    ArchiverGetVersionProc getVersion_ = nullptr;
    ArchiverGetRunningProc getRunning_ = nullptr;
    ArchiverCheckArchiveProc checkArchive_ = nullptr;
    ArchiverCommandProc command_ = nullptr;
    std::u16string libName_;
    const char* getVersionName_ = nullptr;
    const char* getRunningName_ = nullptr;
    const char* checkArchiveName_ = nullptr;
    const char* commandName_ = nullptr;
    std::u16string commandFormat_;
    void* entries_[5] = {};  // by Entry, 1-4; cleared whenever the library is released
    void* module_ = nullptr;

  private:
    bool LoadLibrary();
    void FreeLibrary();
    // The entry's address, looked up by name the first time; null when missing.
    void* ResolveEntry(Entry entry);
    int RunCommand(std::u16string_view archivePath, std::u16string_view destFolder);
};

}  // namespace Yomibon
