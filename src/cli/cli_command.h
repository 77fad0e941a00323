// Sub-commands of yomibon-cli: each lives in its own file and registers itself.
#pragma once

#include <string>
#include <vector>

namespace Yomibon::Cli {

using Args = std::vector<std::string>;

struct Command {
    const char* name;
    const char* usage;
    int (*run)(const Args& args);
};

// Registers a command at start-up: `static Registrar reg{{"dump", "FILE", RunDump}};`
struct Registrar {
    explicit Registrar(const Command& command);
};

const std::vector<Command>& Commands();

// Value of "--name VALUE" in args, or fallback.
std::string Option(const Args& args, const std::string& name, const std::string& fallback = "");
bool HasFlag(const Args& args, const std::string& name);
// The first argument that is neither an option nor an option's value.
std::string Positional(const Args& args, const std::vector<std::string>& valueOptions);

}  // namespace Yomibon::Cli
