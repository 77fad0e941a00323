// yomibon-cli: the headless face of the reader's core.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "cli/cli_command.h"
#include "cli/cli_options.h"
#include "platform/heap_tuning.h"

namespace Yomibon::Cli {

namespace {
std::vector<Command>& Registry() {
    static std::vector<Command> commands;
    return commands;
}
}  // namespace

Registrar::Registrar(const Command& command) {
    Registry().push_back(command);
}

const std::vector<Command>& Commands() {
    return Registry();
}

std::string Option(const Args& args, const std::string& name, const std::string& fallback) {
    for (size_t i = 0; i + 1 < args.size(); ++i)
        if (args[i] == name) return args[i + 1];
    return fallback;
}

bool HasFlag(const Args& args, const std::string& name) {
    return std::find(args.begin(), args.end(), name) != args.end();
}

std::string Positional(const Args& args, const std::vector<std::string>& valueOptions) {
    for (size_t i = 0; i < args.size(); ++i) {
        if (std::find(valueOptions.begin(), valueOptions.end(), args[i]) != valueOptions.end()) {
            ++i;
            continue;
        }
        if (args[i].rfind("--", 0) == 0 || args[i] == "-o") continue;
        return args[i];
    }
    return {};
}

}  // namespace Yomibon::Cli

namespace {

void PrintUsage(std::FILE* out, const std::vector<Yomibon::Cli::Command>& commands) {
    std::fprintf(out,
                 "usage: yomibon-cli COMMAND [OPTION...]\n       yomibon-cli --help | --version\n");
    for (const auto& c : commands)
        std::fprintf(out, "  %s %s\n", c.name, c.usage);
}

}  // namespace

int main(int argc, char** argv) {
    using namespace Yomibon::Cli;
    Yomibon::TuneHeap();
    auto commands = Commands();
    std::sort(commands.begin(), commands.end(),
              [](const Command& a, const Command& b) { return std::strcmp(a.name, b.name) < 0; });
    if (argc < 2) {
        PrintUsage(stderr, commands);
        return 2;
    }
    const std::string first = argv[1];
    if (first == "--help" || first == "-h") {
        PrintUsage(stdout, commands);
        std::printf("'yomibon-cli COMMAND --help' shows one command; see yomibon-cli(1).\n");
        return 0;
    }
    if (first == "--version") {
        std::printf("yomibon-cli %s\n", YOMIBON_VERSION);
        return 0;
    }
    for (const Command& c : commands)
        if (first == c.name) return RunCommand(c, Args(argv + 2, argv + argc));
    const char* what = first.rfind('-', 0) == 0 ? "option" : "command";
    std::fprintf(stderr, "yomibon-cli: unknown %s '%s' (see 'yomibon-cli --help')\n", what,
                 first.c_str());
    return 2;
}
