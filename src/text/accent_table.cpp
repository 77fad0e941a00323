#include "text/accent_table.h"

#include "text/table_file.h"

namespace Yomibon {
namespace {

void ReplaceAll(std::u16string& s, const std::u16string& key, const std::u16string& value) {
    if (key.empty()) return;
    for (size_t at = s.find(key); at != std::u16string::npos; at = s.find(key, at + value.size()))
        s.replace(at, key.size(), value);
}

}  // namespace

const AccentMap& AccentTable() {
    static const AccentMap table = [] {
        AccentMap map;
        for (auto& [key, value] : LoadTable(u"accent"))
            map[key] = value;
        return map;
    }();
    return table;
}

std::u16string ConvertAccents(std::u16string_view line, const AccentMap& table) {
    std::u16string out(line);
    size_t start = 0;
    // A table whose values hold brackets again must not rewrite the line forever.
    for (size_t guard = 0; guard <= line.size(); ++guard) {
        size_t open = out.find(u'〔', start);
        if (open == std::u16string::npos) break;
        size_t close = out.find(u'〕', open + 1);
        if (close == std::u16string::npos) break;
        std::u16string inner = out.substr(open + 1, close - open - 1);
        size_t before = inner.size();
        for (const auto& [key, value] : table)
            ReplaceAll(inner, key, value);
        if (inner.size() != before) {
            out.replace(open, close - open + 1, inner);
            start = open;  // the rewritten text may hold a further "〔"
        } else {
            start = close + 1;
        }
    }
    return out;
}

}  // namespace Yomibon
