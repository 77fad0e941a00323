#include "app/page_move.h"

#include <algorithm>

#include "platform/format.h"

namespace Yomibon {

int ClampPage(int requested, int pageCount) {
    if (std::min(requested, pageCount) < 1) return 0;
    return requested < pageCount ? requested : pageCount;
}

int ScrollMaximum(int pageCount) {
    return pageCount < 2 ? 1 : std::max(pageCount, 1);
}

int HorizontalScrollPos(int current, int pageCount) {
    return pageCount - current - 1;
}

int VerticalScrollPos(int current) {
    return current;
}

int HorizontalScrollTarget(ScrollRequest request, int current, int pageCount, int position) {
    switch (request) {
        case ScrollRequest::TowardsStart:
            return current + 2;
        case ScrollRequest::TowardsEnd:
            return current - 1;
        case ScrollRequest::Position:
            return ScrollMaximum(pageCount) - position - 1;
        case ScrollRequest::Start:
            return pageCount;
        case ScrollRequest::End:
            return 0;
    }
    return current;
}

int VerticalScrollTarget(ScrollRequest request, int current, int pageCount, int position) {
    switch (request) {
        case ScrollRequest::TowardsStart:
            return current - 1;
        case ScrollRequest::TowardsEnd:
            return current + 2;
        case ScrollRequest::Position:
            return position;
        case ScrollRequest::Start:
            return 0;
        case ScrollRequest::End:
            return pageCount;
    }
    return current;
}

static std::u16string NoLineBreaks(std::u16string text) {
    std::u16string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
        out += (text[i] == u'\r' || text[i] == u'\n') ? u' ' : text[i];
    }
    return out;
}

std::u16string WindowTitle(const std::u16string& title, const std::u16string& author, int current,
                           int pageCount, bool hasPages) {
    if (!hasPages) return u"Yomibon";
    // While the text is still being arranged its page count is not known yet.
    if (pageCount <= 0)
        return NoLineBreaks(
            FormatMessage(u"%1!s! %2!s! - %3!s! (%4!d!/…)",
                          {std::u16string(u"Yomibon"), title, author, int64_t(current) + 1}));
    return NoLineBreaks(FormatMessage(
        u"%1!s! %2!s! - %3!s! (%4!d!/%5!d!)",
        {std::u16string(u"Yomibon"), title, author, int64_t(current) + 1, int64_t(pageCount)}));
}

WindowPlacement DefaultPlacement(int w, int h) {
    int d = w * 80 / 200, e = h * 80 / 200;
    return {44,
            0,
            1,
            0,
            0,
            0,
            0,
            w / 2 - d,
            h / 2 - e,
            w / 2 + w * 80 / 100 - d,
            h / 2 + h * 80 / 100 - e};
}

WindowPlacement PlacementOrDefault(const std::vector<int32_t>& stored, int w, int h) {
    if (stored.size() < 11 || stored[10] - stored[8] <= 0) return DefaultPlacement(w, h);
    WindowPlacement p{};
    std::copy_n(stored.begin(), 11, p.begin());
    return p;
}

int WheelDirection(int delta) {
    if (delta >= 20) return 1;
    if (delta <= -20) return -1;
    return 0;
}

}  // namespace Yomibon
