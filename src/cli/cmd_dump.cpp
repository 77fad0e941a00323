// yomibon-cli dump FILE [--stats]: the runs of a parsed text as JSON Lines.
#include <chrono>
#include <cstdio>
#include <map>
#include <string>

#include "cli/cli_command.h"
#include "cli/cli_input.h"
#include "platform/utf16.h"
#include "settings/data_folder.h"
#include "settings/txt_param.h"
#include "text/aozora_parser.h"
#include "text/html_parser.h"
#include "text/text_buffer.h"
#include "text/txt_parser_mgr.h"

namespace Yomibon::Cli {
namespace {

std::string JsonString(std::u16string_view s) {
    std::string out = "\"";
    char esc[8];
    for (size_t i = 0; i < s.size(); i += UnitsAt(s, i)) {
        char32_t c = CodePointAt(s, i);
        bool loneSurrogate = c >= 0xD800 && c <= 0xDFFF;
        if (c == u'"' || c == u'\\') {
            out += '\\';
            out += char(c);
        } else if (c < 0x20 || loneSurrogate) {
            std::snprintf(esc, sizeof esc, "\\u%04x", unsigned(c));
            out += esc;
        } else {
            out += ToUtf8(s.substr(i, UnitsAt(s, i)));
        }
    }
    return out + "\"";
}

void PrintRun(int line, int index, const TextInfo& run) {
    std::printf(
        "{\"line\":%d,\"index\":%d,\"type\":%d,\"name\":\"%s\",\"text\":%s,\"chrType\":%u,"
        "\"tpBegin\":[%d,%d],\"tpEnd\":[%d,%d]}\n",
        line, index, run.textType, std::string(TypeIdentifier(run.textType)).c_str(),
        JsonString(run.str).c_str(), unsigned(run.chrType), run.tpBegin.iIndex, run.tpBegin.iPos,
        run.tpEnd.iIndex, run.tpEnd.iPos);
}

int RunDump(const Args& args) {
    std::string file = Positional(args, {});
    if (file.empty()) {
        std::fprintf(stderr, "usage: yomibon-cli dump FILE [--stats]\n");
        return 2;
    }
    std::u16string path;
    std::string error;
    if (!ResolveCliInput(file, path, error)) {
        std::fprintf(stderr, "yomibon-cli: %s\n", error.c_str());
        return 1;
    }
    CYbTxtBuffer buffer;
    CYbTxtParam param;
    NetOptions net = NetOptionsFrom(param, DataFolder());
    CYbTxtParserMgr parsers(&param);
    auto start = std::chrono::steady_clock::now();
    // The parser the reader would choose: HTML for addresses and .html names.
    if (!parsers.open(path, buffer, &net)) {
        std::fprintf(stderr, "yomibon-cli: cannot open %s\n", file.c_str());
        if (!parsers.message().empty())
            std::fprintf(stderr, "%s\n", ToUtf8(parsers.message()).c_str());
        return 1;
    }
    double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    const auto& lines = buffer.lines();
    if (HasFlag(args, "--stats")) {
        std::map<std::string, size_t> counts;
        size_t total = 0;
        for (const LineInfo& l : lines)
            for (const TextInfo& run : l.runs)
                ++counts[std::string(TypeIdentifier(run.textType))], ++total;
        for (const auto& [name, count] : counts)
            std::printf("%-24s %zu\n", name.c_str(), count);
        std::printf("%-24s %zu\n%-24s %zu\n%-24s %.3f ms\n", "runs", total, "lines", lines.size(),
                    "parse", ms);
        return 0;
    }
    for (size_t l = 0; l < lines.size(); ++l)
        for (size_t r = 0; r < lines[l].runs.size(); ++r)
            PrintRun(int(l), int(r), lines[l].runs[r]);
    std::printf("{\"title\":%s,\"author\":%s,\"info\":%s}\n", JsonString(buffer.getTitle()).c_str(),
                JsonString(buffer.getAuthor()).c_str(), JsonString(buffer.getInfo()).c_str());
    return 0;
}

Registrar reg{{"dump", "FILE [--stats]", RunDump}};

}  // namespace
}  // namespace Yomibon::Cli
