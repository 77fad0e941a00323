// Markup the walker never shows, taken out before the engine builds a tree of it: every
// element costs the engine a styled node, and a ruby-dense novel has tens of thousands.
#pragma once

#include <string>
#include <string_view>

namespace Yomibon {

// Removes <rp>…</rp> (ruby parentheses, skipped with their content by the walker) and the
// <rb> tags right after <ruby> (the base then starts where the ruby starts, as before).
std::string DropRubyMarkup(std::string_view html);

}  // namespace Yomibon
