#include "text/annotation_table.h"

#include <algorithm>
#include <array>
#include <unordered_map>

#include "text/text_types.h"

namespace Yomibon {
namespace {

using namespace std::string_view_literals;

constexpr AnnotationRow kRows[] = {
    {1, u"《"sv, u"》"sv},
    {2, u"［＃「"sv, u"」に白ゴマ傍点］"sv},
    {3, u"［＃「"sv, u"」に丸傍点］"sv},
    {4, u"［＃「"sv, u"」に白丸傍点］"sv},
    {5, u"［＃「"sv, u"」に黒三角傍点］"sv},
    {6, u"［＃「"sv, u"」に白三角傍点］"sv},
    {7, u"［＃「"sv, u"」に二重丸傍点］"sv},
    {8, u"［＃「"sv, u"」に蛇の目傍点］"sv},
    {9, u"［＃「"sv, u"」に傍点］"sv},
    {10, u"［＃「"sv, u"」に傍線］"sv},
    {11, u"［＃「"sv, u"」に波線］"sv},
    {11, u"［＃「"sv, u"」に波傍線］"sv},
    {12, u"［＃「"sv, u"」に取消線］"sv},
    {13, u"［＃「"sv, u"」に左傍線］"sv},
    {13, u"［＃「"sv, u"」の左に傍線］"sv},
    {13, u"［＃「"sv, u"」にアンダーライン］"sv},
    {14, u"［＃「"sv, u"」に破線］"sv},
    {15, u"［＃「"sv, u"」に鎖線］"sv},
    {15, u"［＃「"sv, u"」に点線］"sv},
    {16, u"［＃「"sv, u"」に二重傍線］"sv},
    {17, u"［＃「"sv, u"」の左に白ゴマ傍点］"sv},
    {18, u"［＃「"sv, u"」の左に丸傍点］"sv},
    {19, u"［＃「"sv, u"」の左に白丸傍点］"sv},
    {20, u"［＃「"sv, u"」の左に黒三角傍点］"sv},
    {21, u"［＃「"sv, u"」の左に白三角傍点］"sv},
    {22, u"［＃「"sv, u"」の左に二重丸傍点］"sv},
    {23, u"［＃「"sv, u"」の左に蛇の目傍点］"sv},
    {24, u"［＃「"sv, u"」の左に傍点］"sv},
    {26, u"［＃「"sv, u"」の左に波線］"sv},
    {26, u"［＃「"sv, u"」の左に波傍線］"sv},
    {27, u"［＃「"sv, u"」の左に破線］"sv},
    {28, u"［＃「"sv, u"」の左に鎖線］"sv},
    {28, u"［＃「"sv, u"」の左に点線］"sv},
    {29, u"［＃「"sv, u"」の左に二重傍線］"sv},
    {2, u"［＃白ゴマ傍点"sv, u"］"sv},
    {3, u"［＃丸傍点"sv, u"］"sv},
    {4, u"［＃白丸傍点"sv, u"］"sv},
    {5, u"［＃黒三角傍点"sv, u"］"sv},
    {6, u"［＃白三角傍点"sv, u"］"sv},
    {7, u"［＃二重丸傍点"sv, u"］"sv},
    {8, u"［＃蛇の目傍点"sv, u"］"sv},
    {9, u"［＃傍点"sv, u"］"sv},
    {10, u"［＃傍線"sv, u"］"sv},
    {11, u"［＃波線"sv, u"］"sv},
    {11, u"［＃波傍線"sv, u"］"sv},
    {12, u"［＃取消線"sv, u"］"sv},
    {13, u"［＃左に傍線"sv, u"］"sv},
    {13, u"［＃左傍線"sv, u"］"sv},
    {13, u"［＃アンダーライン"sv, u"］"sv},
    {14, u"［＃破線"sv, u"］"sv},
    {15, u"［＃鎖線"sv, u"］"sv},
    {15, u"［＃点線"sv, u"］"sv},
    {16, u"［＃二重傍線"sv, u"］"sv},
    {17, u"［＃左に白ゴマ傍点"sv, u"］"sv},
    {18, u"［＃左に丸傍点"sv, u"］"sv},
    {19, u"［＃左に白丸傍点"sv, u"］"sv},
    {20, u"［＃左に黒三角傍点"sv, u"］"sv},
    {21, u"［＃左に白三角傍点"sv, u"］"sv},
    {22, u"［＃左に二重丸傍点"sv, u"］"sv},
    {23, u"［＃左に蛇の目傍点"sv, u"］"sv},
    {24, u"［＃左に傍点"sv, u"］"sv},
    {26, u"［＃左に波線"sv, u"］"sv},
    {26, u"［＃左に波傍線"sv, u"］"sv},
    {27, u"［＃左に破線"sv, u"］"sv},
    {28, u"［＃左に鎖線"sv, u"］"sv},
    {28, u"［＃左に点線"sv, u"］"sv},
    {29, u"［＃左に二重傍線"sv, u"］"sv},
    {31, u"［＃「"sv, u"」の注記］"sv},
    {32, u"［＃（"sv, u"）］"sv},
    {69, u"［＃「"sv, u"」は太字］"sv},
    {69, u"［＃「"sv, u"」はゴシック体］"sv},
    {35, u"［＃「"sv, u"」は上付き小文字］"sv},
    {35, u"［＃"sv, u"は上付き小文字］"sv},
    {36, u"［＃「"sv, u"」は下付き小文字］"sv},
    {36, u"［＃"sv, u"は下付き小文字］"sv},
    {55, u"［＃「"sv, u"」は罫囲み］"sv},
    {53, u"［＃ここから"sv, u"罫囲み］"sv},
    {53, u"［＃罫囲み"sv, u"］"sv},
    {38, u"［＃「"sv, u"」はママ］"sv},
    {38, u"［＃「"sv, u"」に「ママ」の注記］"sv},
    {39, u"※［＃判読不可、"sv, u"］"sv},
    {41, u"［＃この行天付き、折り返して"sv, u"字下げ］"sv},
    {41, u"［＃天から"sv, u"字下げ］"sv},
    {40, u"［＃この行"sv, u"字下げ］"sv},
    {43, u"［＃ここから改行天付き、折り返して"sv, u"字下げ］"sv},
    {42, u"［＃ここから"sv, u"字下げ］"sv},
    {44, u"［＃"sv, u"ここで字下げ終わり］"sv},
    // The manual's own one-line indent ［＃３字下げ］; after the rows above so that they
    // keep winning their ties.
    {40, u"［＃"sv, u"字下げ］"sv},
    {45, u"［＃地付き"sv, u"］"sv},
    {45, u"［＃この行"sv, u"地付き］"sv},
    {45, u"［＃地から"sv, u"字上げ］"sv},
    {46, u"［＃ここから"sv, u"地付き］"sv},
    {46, u"［＃ここから地から"sv, u"字上げ］"sv},
    {47, u"［＃ここで"sv, u"地付き終わり］"sv},
    {47, u"［＃ここで"sv, u"字上げ終わり］"sv},
    {70, u"［＃太字"sv, u"］"sv},
    {70, u"［＃ここから"sv, u"太字］"sv},
    {71, u"［＃ここまで"sv, u"太字］"sv},
    {71, u"［＃ここで太字"sv, u"終わり］"sv},
    {71, u"［＃太字"sv, u"終わり］"sv},
    {48, u"［＃ここから"sv, u"字詰め］"sv},
    {49, u"［＃ここで字詰め"sv, u"終わり］"sv},
    {87, u"［＃本文"sv, u"終わり］"sv},
    {50, u"［＃"sv, u"）入る］"sv},
    {57, u"［＃「"sv, u"」］"sv},
    {64, u"［＃「"sv, u"」は縦中横］"sv},
    {79, u"［＃「"sv, u"」は大見出し］"sv},
    {80, u"［＃「"sv, u"」は中見出し］"sv},
    {81, u"［＃「"sv, u"」は小見出し］"sv},
    // The manual's run-in (同行) and window (窓) headings, and the block forms of all
    // headings, closed by "［＃…見出し終わり］".
    {79, u"［＃「"sv, u"」は同行大見出し］"sv},
    {80, u"［＃「"sv, u"」は同行中見出し］"sv},
    {81, u"［＃「"sv, u"」は同行小見出し］"sv},
    {79, u"［＃「"sv, u"」は窓大見出し］"sv},
    {80, u"［＃「"sv, u"」は窓中見出し］"sv},
    {81, u"［＃「"sv, u"」は窓小見出し］"sv},
    {79, u"［＃大見出し"sv, u"］"sv},
    {80, u"［＃中見出し"sv, u"］"sv},
    {81, u"［＃小見出し"sv, u"］"sv},
    {79, u"［＃同行大見出し"sv, u"］"sv},
    {80, u"［＃同行中見出し"sv, u"］"sv},
    {81, u"［＃同行小見出し"sv, u"］"sv},
    {79, u"［＃窓大見出し"sv, u"］"sv},
    {80, u"［＃窓中見出し"sv, u"］"sv},
    {81, u"［＃窓小見出し"sv, u"］"sv},
    // Ruby given by annotation: "［＃「X」の左に「Y」のルビ］" (left) or "」に「Y」のルビ］"
    // (right), and the left-ruby block "［＃左にルビ付き］X［＃左に「Y」のルビ付き終わり］".
    {78, u"［＃「"sv, u"」のルビ］"sv},
    {78, u"［＃左にルビ付き"sv, u"］"sv},
    {78, u"［＃左に「"sv, u"」のルビ付き終わり］"sv},
    // Larger and smaller characters: "［＃「X」は２段階大きな文字］" and the block forms
    // "［＃ここから１段階小さな文字］…［＃ここで小さな文字終わり］"; the last two rows are
    // the opening strings their closing forms name.
    {89, u"［＃「"sv, u"段階大きな文字］"sv},
    {90, u"［＃「"sv, u"段階小さな文字］"sv},
    {89, u"［＃"sv, u"段階大きな文字］"sv},
    {90, u"［＃"sv, u"段階小さな文字］"sv},
    {89, u"［＃大きな文字"sv, u"］"sv},
    {90, u"［＃小さな文字"sv, u"］"sv},
    {91, u"［＃「"sv, u"」はキャプション］"sv},
    {33, u"［＃「"sv, u"」は行右小書き］"sv},
    {34, u"［＃「"sv, u"」は行左小書き］"sv},
    {72, u"［＃改行"sv, u"］"sv},
    {73, u"［＃改段"sv, u"］"sv},
    {74, u"［＃改頁"sv, u"］"sv},
    {74, u"［＃改ページ"sv, u"］"sv},
    {75, u"［＃改丁"sv, u"］"sv},
    {77, u"［＃改見開き"sv, u"］"sv},
    {30, u"［＃"sv, u"終わり］"sv},
    {59, u"［＃"sv, u"］"sv},
};

constexpr SpecialCharRow kSpecial[] = {
    {u"｜"sv, TT_RUBY_BASE_START}, {u"／＼"sv, TT_REPEAT_MARK}, {u"／″＼"sv, TT_VOICED_REPEAT_MARK},
    {u"゜"sv, TT_SOUND_MARK},      {u"゛"sv, TT_SOUND_MARK},    {u"―"sv, TT_DASH},
};

constexpr std::u16string_view kPictureWords[] = {
    u"図"sv,
    u"地図"sv,
    u"絵"sv,
    u"挿絵"sv,
    u"表"sv,
    u"写真"sv,
    u"アイコン"sv,
    // The old form of 図 (挿圖, 第一圖) and covers, which the library sets as pictures too.
    u"圖"sv,
    u"表紙"sv,
};

constexpr PicturePlacement kPlacements[] = {
    {u"上寄せ"sv, TT_PICTURE}, {u"中央"sv, TT_PICTURE},    {u"下寄せ"sv, TT_PICTURE},
    {u"段"sv, TT_PICTURE},     {u"頁"sv, TT_PICTURE_PAGE}, {u"見開き"sv, TT_PICTURE_SPREAD},
};

}  // namespace

std::span<const AnnotationRow> AnnotationTable() {
    return kRows;
}

namespace {

struct CloseIndex {
    std::unordered_map<char16_t, std::vector<AnnotationCloseGroup>> keyed;
    std::vector<AnnotationCloseGroup> bare;  // closing with "］" alone
};

CloseIndex BuildCloseIndex() {
    CloseIndex index;
    AnnotationCloseGroup bare{u"］"sv, {}};
    for (size_t r = 0; r < std::size(kRows); ++r) {
        std::u16string_view close = kRows[r].close;
        if (!close.ends_with(u'］')) continue;  // never ends an annotation's bracket
        if (close.size() == 1) {
            bare.rows.push_back(int(r));
            continue;
        }
        auto& groups = index.keyed[close[close.size() - 2]];
        auto same =
            std::find_if(groups.begin(), groups.end(),
                         [close](const AnnotationCloseGroup& g) { return g.close == close; });
        if (same == groups.end())
            groups.push_back({close, {int(r)}});
        else
            same->rows.push_back(int(r));
    }
    for (auto& [before, groups] : index.keyed) {
        std::stable_sort(groups.begin(), groups.end(), [](const auto& a, const auto& b) {
            return a.close.size() > b.close.size();
        });
        groups.push_back(bare);
    }
    index.bare.push_back(std::move(bare));
    return index;
}

}  // namespace

const std::vector<AnnotationCloseGroup>& AnnotationGroupsClosingAfter(char16_t before) {
    static const CloseIndex index = BuildCloseIndex();
    auto it = index.keyed.find(before);
    return it == index.keyed.end() ? index.bare : it->second;
}

int FindAnnotationByOpen(std::u16string_view open) {
    for (size_t i = 0; i < std::size(kRows); ++i)
        if (kRows[i].open == open) return int(i);
    return -1;
}

std::span<const SpecialCharRow> SpecialCharTable() {
    return kSpecial;
}

std::span<const std::u16string_view> PictureWords() {
    return kPictureWords;
}

std::span<const PicturePlacement> PicturePlacements() {
    return kPlacements;
}

bool RunHoldsPoints(int t) {
    if (t >= TT_RUBY && t <= TT_LEFT_DOUBLE_LINE) return true;
    if (t >= TT_NOTE && t <= TT_ILLEGIBLE)
        return t != TT_LINE_RIGHT_SMALL && t != TT_LINE_LEFT_SMALL;
    if (t >= TT_PICTURE && t <= TT_PICTURE_SPREAD) return true;
    if (t >= TT_QUOTE_NOTE && t <= TT_VOICED_REPEAT_MARK) return true;
    return t == TT_BOX || t == TT_HORIZONTAL || t == TT_BOLD || t == TT_DASH || t == TT_LEFT_RUBY ||
           (t >= TT_HEADING_LARGE && t <= TT_HEADING_SMALL);
}

}  // namespace Yomibon
