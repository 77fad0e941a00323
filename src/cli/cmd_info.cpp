// yomibon-cli info FILE [--layout bunko|shinsho|PATH]: what the reader knows of a text
// after opening it (title, author, page count, outline) and how long each phase took.
#include <cstdio>
#include <memory>
#include <string>

#include "cli/cli_command.h"
#include "cli/cli_document.h"
#include "cli/cli_info.h"
#include "text/txt_document.h"

namespace Yomibon::Cli {
namespace {

int RunInfo(const Args& args) {
    std::string file = Positional(args, {"--layout"});
    std::string layoutOption = Option(args, "--layout");
    if (file.empty()) {
        std::fprintf(stderr, "usage: yomibon-cli info FILE [--layout bunko|shinsho|PATH]\n");
        return 2;
    }
    std::string error;
    auto cli = OpenCliDocument(file, layoutOption, error);
    if (!cli) {
        std::fprintf(stderr, "yomibon-cli: %s\n", error.c_str());
        return error.rfind("no layout", 0) == 0 ? 2 : 1;
    }
    const CYbTxtDocument& doc = *cli->document;
    PrintInfo(doc);
    return 0;
}

Registrar reg{{"info", "FILE [--layout bunko|shinsho|PATH]", RunInfo}};

}  // namespace
}  // namespace Yomibon::Cli
