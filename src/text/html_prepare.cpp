#include "text/html_prepare.h"

#include <cctype>

namespace Yomibon {
namespace {

// True when `tag` (lower case, with "<" and without ">") starts at `at`, in any case,
// followed by ">" or white space.
bool TagAt(std::string_view html, size_t at, std::string_view tag, size_t& end) {
    if (at + tag.size() >= html.size()) return false;
    for (size_t k = 0; k < tag.size(); ++k)
        if (std::tolower(static_cast<unsigned char>(html[at + k])) != tag[k]) return false;
    char next = html[at + tag.size()];
    if (next != '>' && next != ' ' && next != '\t' && next != '\r' && next != '\n') return false;
    size_t close = html.find('>', at + tag.size());
    if (close == std::string_view::npos) return false;
    end = close + 1;
    return true;
}

}  // namespace

std::string DropRubyMarkup(std::string_view html) {
    std::string out;
    out.reserve(html.size());
    size_t copied = 0, end = 0;
    bool afterRuby = false;  // the last tag was <ruby>
    for (size_t i = html.find('<'); i != std::string_view::npos; i = html.find('<', i + 1)) {
        if (TagAt(html, i, "<rp", end)) {
            size_t close = html.find("</", end);
            size_t stop = std::string_view::npos;
            if (close != std::string_view::npos && TagAt(html, close, "</rp", stop) &&
                html.substr(end, close - end).find('<') == std::string_view::npos) {
                out.append(html.substr(copied, i - copied));
                copied = stop;
                i = stop - 1;
            }
            afterRuby = false;
            continue;
        }
        if (afterRuby && TagAt(html, i, "<rb", end)) {
            size_t close = html.find("</", end);
            size_t stop = std::string_view::npos;
            if (close != std::string_view::npos && TagAt(html, close, "</rb", stop) &&
                html.substr(end, close - end).find('<') == std::string_view::npos) {
                out.append(html.substr(copied, i - copied));
                out.append(html.substr(end, close - end));
                copied = stop;
                i = stop - 1;
            }
            afterRuby = false;
            continue;
        }
        afterRuby = TagAt(html, i, "<ruby", end) && end == html.find('>', i) + 1 &&
                    html.substr(end).starts_with("<");
    }
    out.append(html.substr(copied));
    return out;
}

}  // namespace Yomibon
