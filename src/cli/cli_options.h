// The command-line conventions every sub-command shares: the options a command accepts are
// read from its usage line, so a new option needs no second list; --help and --version work
// everywhere; anything else that looks like an option is refused before the command runs.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_command.h"

namespace Yomibon::Cli {

// What a usage line such as "FILE [--page N | --all] -o OUT.png" allows: options followed
// by a placeholder take a value, the others are flags; the remaining words are arguments,
// any number of them after a placeholder ending in "..." ("search WORDS...").
constexpr size_t kAnyNumber = size_t(-1);
struct CommandOptions {
    std::vector<std::string> valueOptions;
    std::vector<std::string> flags;
    size_t arguments = 0;
};

CommandOptions OptionsFromUsage(std::string_view usage);

struct CheckedArgs {
    enum Verdict { Run, Help, Version, Refused };
    Verdict verdict = Run;
    Args args;            // with "--name=value" split into two arguments
    std::string message;  // why they were refused
};

CheckedArgs CheckArgs(const Args& args, const CommandOptions& accepted);

// Runs a registered command the usual way: --help prints its usage on standard output,
// --version the program's version, refused arguments a one-line message on standard error
// with exit code 2.
int RunCommand(const Command& command, const Args& args);

}  // namespace Yomibon::Cli
