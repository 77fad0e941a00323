#include "archive/archive_base.h"

#include <dlfcn.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <vector>

#include "archive/archive_un_7zip.h"
#include "archive/archive_un_lha.h"
#include "archive/archive_un_zip.h"
#include "platform/format.h"
#include "platform/paths.h"
#include "platform/utf16.h"

namespace Yomibon {

namespace {

char16_t Upper(char16_t c) {
    return (c >= u'a' && c <= u'z') ? char16_t(c - u'a' + u'A') : c;
}

// The text after the last "." of the final component, upper-cased; empty when there is
// none or the "." starts the path.
std::u16string UpperExtension(std::u16string_view path) {
    const size_t slash = path.find_last_of(u"/\\");
    const size_t start = slash == std::u16string_view::npos ? 0 : slash + 1;
    const size_t dot = path.rfind(u'.');
    if (dot == std::u16string_view::npos || dot < start || dot == 0) return {};
    std::u16string ext(path.substr(dot + 1));
    std::transform(ext.begin(), ext.end(), ext.begin(), Upper);
    return ext;
}

std::unique_ptr<CYbArchiveBase> MakeExtractor(std::u16string_view path) {
    const std::u16string ext = UpperExtension(path);
    if (ext == u"LZH") return std::make_unique<CYbArchiveUnLha>();
    if (ext == u"ZIP") return std::make_unique<CYbArchiveUnZip>();
    if (ext == u"7Z") return std::make_unique<CYbArchiveUn7Zip>();
    return nullptr;
}

// The narrow form of a path for the library. File names on this system are UTF-8 bytes,
// so UTF-8 is the code page in which the library finds the file.
std::string NarrowPath(std::u16string_view text) {
    return ToUtf8(text);
}

}  // namespace

bool IsArchivePath(std::u16string_view path) {
    const std::u16string ext = UpperExtension(path);
    return ext == u"LZH" || ext == u"ZIP" || ext == u"7Z";
}

int ExtractArchive(std::u16string_view archivePath, std::u16string& dllName,
                   std::u16string_view destFolder) {
    std::unique_ptr<CYbArchiveBase> extractor = MakeExtractor(archivePath);
    if (!extractor) return ARCHIVE_RESULT_UNSUPPORTED;
    const int result = extractor->Extract(archivePath, destFolder);
    if (result != ARCHIVE_RESULT_OK)
        dllName = extractor->LibraryName().substr(0, kArchiveDllNameSize - 1);
    return result;
}

CYbArchiveBase::~CYbArchiveBase() {
    FreeLibrary();
}

int CYbArchiveBase::Extract(std::u16string_view archivePath, std::u16string_view destFolder) {
    std::error_code ec;
    if (!std::filesystem::exists(ToFsPath(archivePath), ec)) return ARCHIVE_RESULT_MISSING;
    if (!LoadLibrary()) return ARCHIVE_RESULT_NO_LIBRARY;
    if (getVersionName_) {
        if (!ResolveEntry(ENTRY_VERSION)) return ARCHIVE_RESULT_NO_LIBRARY;
        getVersion_();
    }
    if (getRunningName_) {
        if (!ResolveEntry(ENTRY_RUNNING)) return ARCHIVE_RESULT_NO_LIBRARY;
        if (getRunning_() != 0) return ARCHIVE_RESULT_BUSY;
    }
    const std::string narrowPath = NarrowPath(archivePath);
    if (checkArchiveName_) {
        if (!ResolveEntry(ENTRY_CHECK)) return ARCHIVE_RESULT_NO_LIBRARY;
        if (checkArchive_(narrowPath.c_str(), 0) == 0) return ARCHIVE_RESULT_UNSUPPORTED;
    }
    if (!commandName_ || commandFormat_.empty()) return ARCHIVE_RESULT_COMMAND_FAILED;
    if (!ResolveEntry(ENTRY_COMMAND)) return ARCHIVE_RESULT_NO_LIBRARY;
    return RunCommand(archivePath, destFolder);
}

int CYbArchiveBase::RunCommand(std::u16string_view archivePath, std::u16string_view destFolder) {
    // The command line quotes both paths; a path holding a quote would end its quoting
    // early and let the rest of the name pass as further words (another destination).
    if (archivePath.find(u'"') != std::u16string_view::npos ||
        destFolder.find(u'"') != std::u16string_view::npos)
        return ARCHIVE_RESULT_COMMAND_FAILED;
    const std::u16string line =
        FormatMessage(commandFormat_, {std::u16string(archivePath), std::u16string(destFolder)});
    const std::string narrowLine = NarrowPath(line);
    std::vector<char> output(kArchiverOutputSize, '\0');
    const int r =
        command_(nullptr, narrowLine.c_str(), output.data(), static_cast<uint32_t>(output.size()));
    if (r == ARCHIVER_ERROR_LIMIT) return ARCHIVE_RESULT_TOO_LARGE;
    return r != 0 ? ARCHIVE_RESULT_COMMAND_FAILED : ARCHIVE_RESULT_OK;
}

bool CYbArchiveBase::LoadLibrary() {
    if (module_) return true;
    const std::string name = ToUtf8(libName_);
    if (name.empty()) return false;
    module_ = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module_) {
        const std::string beside = ProgramFolder().string() + "/" + name;
        module_ = dlopen(beside.c_str(), RTLD_NOW | RTLD_LOCAL);
    }
    return module_ != nullptr;
}

void CYbArchiveBase::FreeLibrary() {
    if (module_) dlclose(module_);
    module_ = nullptr;
    std::fill(std::begin(entries_), std::end(entries_), nullptr);
    getVersion_ = nullptr;
    getRunning_ = nullptr;
    checkArchive_ = nullptr;
    command_ = nullptr;
}

void* CYbArchiveBase::ResolveEntry(Entry entry) {
    if (entries_[entry]) return entries_[entry];
    const char* names[5] = {nullptr, getVersionName_, getRunningName_, checkArchiveName_,
                            commandName_};
    if (!module_ || !names[entry]) return nullptr;
    void* address = dlsym(module_, names[entry]);
    if (!address) return nullptr;
    entries_[entry] = address;
    switch (entry) {
        case ENTRY_VERSION:
            getVersion_ = reinterpret_cast<ArchiverGetVersionProc>(address);
            break;
        case ENTRY_RUNNING:
            getRunning_ = reinterpret_cast<ArchiverGetRunningProc>(address);
            break;
        case ENTRY_CHECK:
            checkArchive_ = reinterpret_cast<ArchiverCheckArchiveProc>(address);
            break;
        case ENTRY_COMMAND:
            command_ = reinterpret_cast<ArchiverCommandProc>(address);
            break;
    }
    return address;
}

}  // namespace Yomibon
