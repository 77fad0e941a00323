// yomibon-cli: the headless face of the reader's core.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "cli/cli_command.h"

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

int main(int argc, char** argv) {
    using namespace Yomibon::Cli;
    auto commands = Commands();
    std::sort(commands.begin(), commands.end(),
              [](const Command& a, const Command& b) { return std::strcmp(a.name, b.name) < 0; });
    if (argc >= 2) {
        for (const Command& c : commands)
            if (std::strcmp(c.name, argv[1]) == 0) return c.run(Args(argv + 2, argv + argc));
        std::fprintf(stderr, "yomibon-cli: unknown command '%s'\n", argv[1]);
    }
    std::fprintf(stderr, "usage: yomibon-cli COMMAND ...\n");
    for (const Command& c : commands)
        std::fprintf(stderr, "  %s %s\n", c.name, c.usage);
    return 2;
}
