// Running yomibon-cli as a user does, from a test: its exit code, output and errors.
#pragma once

#include <string>
#include <vector>

namespace Yomibon::Test {

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs the built yomibon-cli with the arguments (each passed as one argument).
CliRun RunCli(const std::vector<std::string>& args);

}  // namespace Yomibon::Test
