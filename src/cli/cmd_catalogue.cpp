// yomibon-cli catalogue [--url URL] [--update] search WORDS... | open ID: the library's
// catalogue from scripts. It is kept in the data folder as the reader keeps it, fetched on
// first use (or with --update) from the settings' address or URL. `search` prints the works
// holding every word, one a line (id, title, persons, tab-separated), and exits with 1 when
// none does; `open` fetches the work's text zip into the download cache (or finds it there),
// opens it as the reader does and prints what `info` prints.
#include <cstdio>
#include <string>

#include "cli/cli_command.h"
#include "cli/cli_document.h"
#include "cli/cli_info.h"
#include "library/catalogue_index.h"
#include "library/catalogue_store.h"
#include "library/work_fetch.h"
#include "platform/download_cache.h"
#include "platform/utf16.h"
#include "settings/data_folder.h"
#include "settings/txt_param.h"
#include "text/net_options.h"

namespace Yomibon::Cli {
namespace {

constexpr const char* kUsage = "[--url URL] [--update] search WORDS... | open ID";

// The words after the options: the action first.
Args Words(const Args& args) {
    Args words;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--url")
            ++i;
        else if (args[i] != "--update")
            words.push_back(args[i]);
    }
    return words;
}

void PrintMessage(const std::u16string& message) {
    std::fprintf(stderr, "yomibon-cli: %s\n", ToUtf8(message).c_str());
}

int Search(CYbCatalogueIndex& index, const Args& words) {
    std::u16string query;
    for (size_t i = 1; i < words.size(); ++i)
        query += FromUtf8(words[i]) + u" ";
    for (uint32_t i : index.search(query)) {
        const CatalogueWork& w = index.works()[i];
        std::printf("%s\t%s\t%s\n", ToUtf8(w.id).c_str(), ToUtf8(w.title).c_str(),
                    ToUtf8(w.authors()).c_str());
    }
    return index.results().empty() ? 1 : 0;
}

int Open(const CYbCatalogueIndex& index, const std::string& id, const NetProxySettings& proxy) {
    const CatalogueWork* work = index.find(FromUtf8(id));
    if (!work) {
        std::fprintf(stderr, "yomibon-cli: no work %s in the catalogue\n", id.c_str());
        return 1;
    }
    CYbDownloadCache cache(CYbDownloadCache::FolderUnder(DataFolder()));
    WorkFetch fetch = FetchWorkText(*work, cache, proxy);
    if (!fetch.ok()) {
        PrintMessage(fetch.message);
        return 1;
    }
    std::string error;
    auto cli = OpenCliDocument(fetch.file.string(), "", error);
    if (!cli) {
        std::fprintf(stderr, "yomibon-cli: %s\n", error.c_str());
        return 1;
    }
    PrintInfo(*cli->document);
    return 0;
}

int RunCatalogue(const Args& args) {
    const Args words = Words(args);
    const bool search = !words.empty() && words[0] == "search";
    const bool open = words.size() == 2 && words[0] == "open";
    if (!search && !open) {
        std::fprintf(stderr, "usage: yomibon-cli catalogue %s\n", kUsage);
        return 2;
    }
    CYbTxtParam param;
    const std::string url = Option(args, "--url", ToUtf8(param.GetText(u"CatalogueURL")));
    const NetProxySettings proxy = ProxySettingsFrom(param);
    CYbCatalogueStore store(DataFolder(), url);
    std::vector<CatalogueWork> works;
    CatalogueLoad load =
        HasFlag(args, "--update") ? store.update(works, proxy) : store.load(works, proxy);
    if (!load.ok) {
        PrintMessage(load.message);
        return 1;
    }
    CYbCatalogueIndex index;
    index.assign(std::move(works));
    return search ? Search(index, words) : Open(index, words[1], proxy);
}

Registrar reg{{"catalogue", kUsage, RunCatalogue}};

}  // namespace
}  // namespace Yomibon::Cli
