#include "archiver_module.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <string>

#include "archive/archive_command_line.h"
#include "archive/archive_unpacker.h"

namespace Yomibon::ArchiverModule {

namespace {

constexpr uint16_t kVersion = 100;

std::atomic<int> g_running{0};

// Marks the module busy for the lifetime of a command; false when one already runs.
class RunningScope {
  public:
    RunningScope() : entered_(g_running.exchange(1) == 0) {}
    ~RunningScope() {
        if (entered_) g_running.store(0);
    }
    bool entered() const { return entered_; }

  private:
    bool entered_;
};

void PutOutput(const std::string& text, char* output, uint32_t outputSize) {
    if (!output || outputSize == 0) return;
    const size_t n = std::min<size_t>(text.size(), outputSize - 1);
    std::memcpy(output, text.data(), n);
    output[n] = '\0';
}

std::string Describe(int result, const UnpackReport& report) {
    std::string text = result == ARCHIVER_OK ? "ok" : "failed: " + report.error;
    text += "\n" + std::to_string(report.written) + " written, " + std::to_string(report.bytes) +
            " bytes\n";
    for (const std::string& name : report.refused)
        text += "refused: " + name + "\n";
    return text;
}

}  // namespace

uint16_t Version() {
    return kVersion;
}

int Running() {
    return g_running.load();
}

int CheckArchive(ArchiverKind kind, const char* archivePath, int mode) {
    if (!archivePath) return 0;
    return CYbArchiveUnpacker(kind).Check(archivePath, mode == 0) ? 1 : 0;
}

int Command(ArchiverKind kind, const char* commandLine, char* output, uint32_t outputSize) {
    PutOutput("", output, outputSize);
    RunningScope running;
    if (!running.entered()) {
        PutOutput("another command is running", output, outputSize);
        return ARCHIVER_ERROR_RUNNING;
    }
    ArchiverCommand command;
    if (!commandLine || !ParseArchiverCommand(kind, commandLine, command)) {
        PutOutput("the command line does not fit", output, outputSize);
        return ARCHIVER_ERROR_COMMAND_LINE;
    }
    UnpackReport report;
    const int result = CYbArchiveUnpacker(kind).Unpack(command.archive, command.destination,
                                                       command.patterns, report);
    PutOutput(Describe(result, report), output, outputSize);
    return result;
}

}  // namespace Yomibon::ArchiverModule
