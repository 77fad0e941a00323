// The ZIP archiver module: unzip32.so.
#include <type_traits>

#include "archiver_module.h"

using namespace Yomibon;

YB_ARCHIVER_EXPORT uint16_t UnZipGetVersion(void) {
    return ArchiverModule::Version();
}

YB_ARCHIVER_EXPORT int UnZipGetRunning(void) {
    return ArchiverModule::Running();
}

YB_ARCHIVER_EXPORT int UnZipCheckArchive(const char* archivePath, int mode) {
    return ArchiverModule::CheckArchive(ArchiverKind::Zip, archivePath, mode);
}

YB_ARCHIVER_EXPORT int UnZip(void*, const char* commandLine, char* output, uint32_t outputSize) {
    return ArchiverModule::Command(ArchiverKind::Zip, commandLine, output, outputSize);
}

static_assert(std::is_same_v<decltype(&UnZipGetVersion), ArchiverGetVersionProc>);
static_assert(std::is_same_v<decltype(&UnZipGetRunning), ArchiverGetRunningProc>);
static_assert(std::is_same_v<decltype(&UnZipCheckArchive), ArchiverCheckArchiveProc>);
static_assert(std::is_same_v<decltype(&UnZip), ArchiverCommandProc>);
