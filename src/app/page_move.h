// The decisions behind page moves, scroll bars, the title and the window placement, kept
// free of the window so that each can be checked on its own.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace Yomibon {

// The requested page against the page count n: 0 when min(r, n) < 1, r below n, else n.
int ClampPage(int requested, int pageCount);

// Both scroll bars run over 0 .. max(pageCount, 1) with a page step of 2 (0 .. 1 below two
// pages); the horizontal bar runs right to left.
int ScrollMaximum(int pageCount);
int HorizontalScrollPos(int current, int pageCount);
int VerticalScrollPos(int current);

enum class ScrollRequest { TowardsStart, TowardsEnd, Position, Start, End };
// The page a scroll request on the horizontal or the vertical bar asks for (unclamped).
int HorizontalScrollTarget(ScrollRequest request, int current, int pageCount, int position);
int VerticalScrollTarget(ScrollRequest request, int current, int pageCount, int position);

// "Yomibon" without pages, else "Yomibon title author - (page/count)" with line breaks as
// spaces; a count of 0 (not known yet, while arranging) is shown as "…".
std::u16string WindowTitle(const std::u16string& title, const std::u16string& author, int current,
                           int pageCount, bool hasPages);

// WindowSize: length (44), flags, show command, minimised x, y, maximised x, y, normal
// rectangle left, top, right, bottom.
using WindowPlacement = std::array<int32_t, 11>;
// The stored placement when it has 11 values and a positive height; otherwise the default
// that covers 80 % of the work area, centred.
WindowPlacement PlacementOrDefault(const std::vector<int32_t>& stored, int workWidth,
                                   int workHeight);
WindowPlacement DefaultPlacement(int workWidth, int workHeight);

// The wheel turns a page only past a threshold: +1 back (PrevPage), -1 forward, 0 nothing.
int WheelDirection(int delta);

}  // namespace Yomibon
