// What every archiver module does behind its four entry points; each module passes its
// own archive kind. Built into each module, so each has its own busy state.
#pragma once

#include <cstdint>

#include "archive/archiver_api.h"

// The four entry points are the only symbols a module shows.
#define YB_ARCHIVER_EXPORT extern "C" __attribute__((visibility("default")))

namespace Yomibon::ArchiverModule {

// Version times 100.
uint16_t Version();
// Non-zero while a command runs.
int Running();
// Non-zero when the file is an archive of this kind (mode 0: headers only).
int CheckArchive(ArchiverKind kind, const char* archivePath, int mode);
// Runs a command line; zero on success. A short report goes to the output buffer.
int Command(ArchiverKind kind, const char* commandLine, char* output, uint32_t outputSize);

}  // namespace Yomibon::ArchiverModule
