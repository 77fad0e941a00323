// The 7z archiver module: 7-zip32.so.
#include <type_traits>

#include "archiver_module.h"

using namespace Yomibon;

YB_ARCHIVER_EXPORT uint16_t SevenZipGetVersion(void) {
    return ArchiverModule::Version();
}

YB_ARCHIVER_EXPORT int SevenZipGetRunning(void) {
    return ArchiverModule::Running();
}

YB_ARCHIVER_EXPORT int SevenZipCheckArchive(const char* archivePath, int mode) {
    return ArchiverModule::CheckArchive(ArchiverKind::SevenZip, archivePath, mode);
}

YB_ARCHIVER_EXPORT int SevenZip(void*, const char* commandLine, char* output, uint32_t outputSize) {
    return ArchiverModule::Command(ArchiverKind::SevenZip, commandLine, output, outputSize);
}

static_assert(std::is_same_v<decltype(&SevenZipGetVersion), ArchiverGetVersionProc>);
static_assert(std::is_same_v<decltype(&SevenZipGetRunning), ArchiverGetRunningProc>);
static_assert(std::is_same_v<decltype(&SevenZipCheckArchive), ArchiverCheckArchiveProc>);
static_assert(std::is_same_v<decltype(&SevenZip), ArchiverCommandProc>);
