// yomibon-cli map FILE --page N [--size WxH] [--layout bunko|shinsho|PATH]: every placement
// of the spread that shows page N, in pixels, as JSON Lines, then the text boxes.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "cli/cli_command.h"
#include "cli/cli_document.h"
#include "layout/document_arranger.h"
#include "layout/map_page_decorations.h"
#include "layout/shinsho_txt_layout.h"
#include "layout/txt_mapper.h"
#include "platform/paths.h"
#include "platform/utf16.h"
#include "settings/txt_param.h"
#include "text/file_kind.h"
#include "text/txt_document.h"

namespace Yomibon::Cli {
namespace {

constexpr const char* kUsage =
    "FILE --page N [--size WxH] [--layout bunko|shinsho|PATH] [--kinsoku standard|strict]";

std::string Json(std::u16string_view s) {
    std::string out = "\"";
    char esc[8];
    for (size_t i = 0; i < s.size(); i += UnitsAt(s, i)) {
        const char32_t c = CodePointAt(s, i);
        if (c == u'"' || c == u'\\') {
            out += '\\';
            out += char(c);
        } else if (c < 0x20 || (c >= 0xD800 && c <= 0xDFFF)) {
            std::snprintf(esc, sizeof esc, "\\u%04x", unsigned(c));
            out += esc;
        } else {
            out += ToUtf8(s.substr(i, UnitsAt(s, i)));
        }
    }
    return out + "\"";
}

// The character an entry stands for, when its key's position is a character of the run.
std::u16string EntryChar(const TextInfo& run, int pos) {
    const int t = run.textType;
    const bool perChar = t == TT_TEXT || t == TT_RUBY || t == TT_SIC || t == TT_DASH ||
                         t == TT_HANGING || (t >= TT_PAREN_NOTE && t <= TT_SUBSCRIPT) ||
                         t == TT_CHAR_NOTE || t == TT_SOUND_MARK || t == TT_HORIZONTAL ||
                         t == TT_AUTO_HORIZONTAL || t == TT_NOMBRE_ODD || t == TT_NOMBRE_EVEN ||
                         t == TT_RUNNING_HEAD || t == TT_REPEAT_MARK || t == TT_VOICED_REPEAT_MARK;
    if (t == TT_EXTERNAL_CHAR && pos == 0) return run.str;
    if (!perChar || pos < 0) return u"";
    const size_t at = CharOffset(run.str, size_t(pos));
    if (at >= run.str.size()) return u"";
    return run.str.substr(at, UnitsAt(run.str, at));
}

void PrintEntry(const char* map, const TextPoint& key, const TextInfo& run, const PageMapEntry& e,
                int pos) {
    std::printf(
        "{\"map\":\"%s\",\"key\":[%d,%d,%d],\"type\":%d,\"ch\":%s,\"iColumn\":%d,\"x\":%d,"
        "\"y\":%d,\"advance\":%d,\"size\":%d,\"height\":%d,\"width\":%d,\"inkX\":%d,"
        "\"inkY\":%d}\n",
        map, key.iLine, key.iIndex, key.iPos, run.textType, Json(EntryChar(run, pos)).c_str(),
        e.iColumn, e.x, e.y, e.advance, e.size, e.height, e.width, e.inkX, e.inkY);
}

void PrintBoxes(const CYbTxtMapper& mapper) {
    const MapGeometry& g = mapper.geometry();
    const MapRect& paper = mapper.paperRect();
    auto px = [&](int32_t v, int32_t origin) {
        return origin + ScaleToPixels(v, g.paperWidth, paper.width());
    };
    std::printf("{\"boxes\":[");
    for (size_t i = 0; i < g.text.size(); ++i) {
        const LayoutBox& b = g.text[i];
        std::printf("%s[%d,%d,%d,%d]", i ? "," : "", px(b.left, paper.left), px(b.top, paper.top),
                    px(b.right, paper.left), px(b.bottom, paper.top));
    }
    std::printf("]}\n");
}

bool ParseSize(const std::string& text, int& width, int& height) {
    return std::sscanf(text.c_str(), "%dx%d", &width, &height) == 2 && width > 0 && height > 0;
}

bool ApplyLayout(const std::string& option, CYbTxtParam& param) {
    if (option.empty() || option == "bunko" || option == "shinsho") {
        param.SetText(u"LayoutFile", u"");
        return true;
    }
    std::error_code ec;
    const std::filesystem::path file = std::filesystem::absolute(option, ec);
    if (ec || !std::filesystem::is_regular_file(file, ec)) return false;
    return param.SetText(u"LayoutFile", FromFsPath(file));
}

int RunMap(const Args& args) {
    const std::string file = Positional(args, {"--page", "--size", "--layout", "--kinsoku"});
    int width = 2100;
    int height = 1480;
    const std::string pageText = Option(args, "--page");
    char* end = nullptr;
    const long page = std::strtol(pageText.c_str(), &end, 10);
    if (file.empty() || pageText.empty() || *end != 0 || page < 0 ||
        !ParseSize(Option(args, "--size", "2100x1480"), width, height)) {
        std::fprintf(stderr, "usage: yomibon-cli map %s\n", kUsage);
        return 2;
    }
    CYbTxtParam param;
    if (!ApplyKinsoku(Option(args, "--kinsoku"), param)) {
        std::fprintf(stderr, "usage: yomibon-cli map %s\n", kUsage);
        return 2;
    }
    auto owned = std::make_unique<CYbDocumentArranger>();
    CYbDocumentArranger& arranger = *owned;
    if (!ApplyLayout(Option(args, "--layout"), param)) {
        std::fprintf(stderr, "yomibon-cli: no layout file %s\n", Option(args, "--layout").c_str());
        return 2;
    }
    CYbTxtDocument doc(param, std::move(owned));
    // The document loads the layout file (none: the bunko page) when it is made.
    if (Option(args, "--layout") == "shinsho")
        arranger.layout().CopyFrom(CYbShinShoTate2TxtLayout());
    std::error_code ec;
    std::u16string path = FromUtf8(file);
    if (!IsUrlName(path)) path = FromFsPath(std::filesystem::absolute(ToFsPath(path), ec));
    if (!doc.openFile(path)) {
        std::fprintf(stderr, "yomibon-cli: cannot open %s\n", file.c_str());
        return 1;
    }
    if (page > doc.getPageCount()) {
        std::fprintf(stderr, "yomibon-cli: page %ld beyond the last page %d\n", page,
                     doc.getPageCount());
        return 1;
    }
    CYbTxtMapper mapper;
    mapper.setLayout(arranger.layout());
    mapper.setOptions(MapOptions::FromParam(param));
    if (!mapper.FitView(width, height)) {
        std::fprintf(stderr, "yomibon-cli: the layout has no paper\n");
        return 1;
    }
    const int perSpread = mapper.geometry().columnsPerSpread;
    const int first = int(page / 2) * perSpread;
    const std::vector<TextInfo> decorations = SpreadDecorations(
        int(page), doc.getPageCount(), arranger.layout(),
        mapper.fitRunningHead(RunningHeadText(doc.buffer(), doc.outline(), first, perSpread)));
    mapper.Build(decorations, doc.buffer(), first, mapper.paperRect());
    const auto& lines = doc.buffer().lines();
    for (const auto& [key, e] : mapper.charMap())
        PrintEntry("char", key, lines[key.iLine].runs[key.iIndex], e, key.iPos);
    for (const auto& [key, e] : mapper.decoMap())
        PrintEntry("deco", key, decorations[key.iPos], e, key.iIndex);
    PrintBoxes(mapper);
    return 0;
}

Registrar reg{{"map", kUsage, RunMap}};

}  // namespace
}  // namespace Yomibon::Cli
