// The calling convention shared by the archiver libraries: four C entry points.
#pragma once

#include <cstdint>

extern "C" {
// Version query: the library's version times 100.
typedef uint16_t (*ArchiverGetVersionProc)(void);
// Busy query: non-zero while the library is running a command.
typedef int (*ArchiverGetRunningProc)(void);
// Archive test: zero when the library cannot handle the file. Mode 0 reads headers only.
typedef int (*ArchiverCheckArchiveProc)(const char* archivePath, int mode);
// Command entry: zero on success. The output buffer receives a short report.
typedef int (*ArchiverCommandProc)(void* window, const char* commandLine, char* output,
                                   uint32_t outputSize);
}

namespace Yomibon {

// The three archive formats, one per archiver library.
enum class ArchiverKind { Lha, Zip, SevenZip };

// Results of the command entry besides success (0).
enum ArchiverError : int {
    ARCHIVER_OK = 0,
    ARCHIVER_ERROR_COMMAND_LINE = 0x8001,  // the command line does not parse
    ARCHIVER_ERROR_OPEN = 0x8002,          // the archive cannot be opened or is not ours
    ARCHIVER_ERROR_READ = 0x8003,          // a header or the data is damaged
    ARCHIVER_ERROR_WRITE = 0x8004,         // the destination cannot be written
    ARCHIVER_ERROR_LIMIT = 0x8005,         // too many entries or too many bytes
    ARCHIVER_ERROR_RUNNING = 0x8006,       // another command is running
};

// Size of the output buffer the command entry is called with.
constexpr uint32_t kArchiverOutputSize = 1024;

}  // namespace Yomibon
