#include "cli/cli_document.h"

#include <cstdio>
#include <filesystem>

#include "cli/cli_input.h"
#include "layout/shinsho_txt_layout.h"
#include "platform/paths.h"
#include "platform/utf16.h"
#include "text/file_kind.h"

namespace Yomibon::Cli {

std::unique_ptr<CliDocument> OpenCliDocument(const std::string& file,
                                             const std::string& layoutOption, std::string& error,
                                             const std::string& kinsokuOption,
                                             bool deferArrangement) {
    auto cli = std::make_unique<CliDocument>();
    if (!ApplyKinsoku(kinsokuOption, cli->param)) {
        error = "unknown kinsoku mode " + kinsokuOption + " (standard or strict)";
        return nullptr;
    }
    bool builtIn = layoutOption.empty() || layoutOption == "bunko" || layoutOption == "shinsho";
    std::error_code ec;
    if (builtIn) {
        cli->param.SetText(u"LayoutFile", u"");
    } else {
        std::filesystem::path lay = std::filesystem::absolute(layoutOption, ec);
        if (ec || !std::filesystem::is_regular_file(lay, ec)) {
            error = "no layout file " + layoutOption;
            return nullptr;
        }
        cli->param.SetText(u"LayoutFile", FromFsPath(lay));
    }
    auto arranger = std::make_unique<CYbDocumentArranger>();
    cli->arranger = arranger.get();
    cli->document = std::make_unique<CYbTxtDocument>(cli->param, std::move(arranger));
    if (layoutOption == "shinsho") {
        CYbShinShoTate2TxtLayout shinsho;
        shinsho.SetDefault();
        cli->arranger->layout().CopyFrom(shinsho);
    }
    if (!ResolveCliInput(file, cli->source, error)) return nullptr;
    if (deferArrangement) cli->arranger->deferNextArrangement();
    if (!cli->document->openFile(cli->source, deferArrangement)) {
        error = "cannot open " + file;
        // The reason, when the loader knows it (an address that could not be fetched).
        if (!cli->document->lastError().empty()) {
            error += '\n';
            error += ToUtf8(cli->document->lastError());
        }
        return nullptr;
    }
    return cli;
}

bool ApplyKinsoku(const std::string& option, CYbTxtParam& param) {
    int32_t mode = 0;
    if (option == "strict")
        mode = 1;
    else if (!option.empty() && option != "standard")
        return false;
    return param.SetPoints(u"KinsokuMode", &mode, 1);
}

std::filesystem::path OutputPath(const std::string& path) {
    std::error_code ec;
    std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    return ec ? std::filesystem::path(path) : absolute;
}

bool ParseSize(const std::string& text, int& width, int& height) {
    int w = 0, h = 0;
    char x = 0;
    if (std::sscanf(text.c_str(), "%d%c%d", &w, &x, &h) != 3 || (x != 'x' && x != 'X') || w < 1 ||
        h < 1 || w > 16384 || h > 16384)
        return false;
    width = w;
    height = h;
    return true;
}

}  // namespace Yomibon::Cli
