// The LHA archiver module: unlha32.so.
#include <type_traits>

#include "archiver_module.h"

using namespace Yomibon;

YB_ARCHIVER_EXPORT uint16_t UnlhaGetVersion(void) {
    return ArchiverModule::Version();
}

YB_ARCHIVER_EXPORT int UnlhaGetRunning(void) {
    return ArchiverModule::Running();
}

YB_ARCHIVER_EXPORT int UnlhaCheckArchive(const char* archivePath, int mode) {
    return ArchiverModule::CheckArchive(ArchiverKind::Lha, archivePath, mode);
}

YB_ARCHIVER_EXPORT int Unlha(void*, const char* commandLine, char* output, uint32_t outputSize) {
    return ArchiverModule::Command(ArchiverKind::Lha, commandLine, output, outputSize);
}

static_assert(std::is_same_v<decltype(&UnlhaGetVersion), ArchiverGetVersionProc>);
static_assert(std::is_same_v<decltype(&UnlhaGetRunning), ArchiverGetRunningProc>);
static_assert(std::is_same_v<decltype(&UnlhaCheckArchive), ArchiverCheckArchiveProc>);
static_assert(std::is_same_v<decltype(&Unlha), ArchiverCommandProc>);
