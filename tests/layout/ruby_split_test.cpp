// Ruby bases at a column end in strict mode, on real lines: a base is split between two
// columns only where each part has room for its share of the reading beside it; otherwise
// it begins the next column whole and its reading stays clear of the kanji around it.
#include <gtest/gtest.h>

#include <string>

#include "layout/arrange.h"
#include "layout/bunko_txt_layout.h"
#include "layout/shinsho_txt_layout.h"
#include "layout/txt_mapper.h"
#include "settings/txt_param.h"
#include "text/aozora_parser.h"

namespace Yomibon {
namespace {

struct Mapped {
    CYbTxtBuffer buffer;
    CYbTxtMapper mapper;
    int line = -1;
    int base = -1;  // the base run; its ruby follows it
};

void MapStrict(Mapped& m, const CYbTxtLayout& layout, std::u16string_view body,
               std::u16string_view base) {
    CYbAozoraTxtParser parser;
    ASSERT_TRUE(
        parser.parseText(std::u16string_view(u"\r\n" + std::u16string(body) + u"\r\n"), m.buffer));
    CYbTxtParam param;
    const int32_t strict = 1;
    param.SetPoints(u"KinsokuMode", &strict, 1);
    ArrangeDocument(m.buffer, layout, param);
    m.mapper.setLayout(layout);
    m.mapper.setOptions(MapOptions::FromParam(param));
    m.mapper.Arrange({}, m.buffer, 0);
    for (int l = 0; l < m.buffer.lineCount(); ++l)
        for (int r = 0; r < int(m.buffer.lines()[size_t(l)].runs.size()); ++r)
            if (m.buffer.lines()[size_t(l)].runs[size_t(r)].str == base) m.line = l, m.base = r;
    ASSERT_GE(m.base, 0);
}

// The base and its reading lie in one column; the reading keeps clear of every other kanji
// of that column.
void ExpectWholeAndClear(const Mapped& m) {
    const auto& runs = m.buffer.lines()[size_t(m.line)].runs;
    const PageMapEntry& head = m.mapper.charMap().at({m.line, m.base, 0});
    int32_t top = INT32_MAX, end = INT32_MIN;
    int count = 0;
    for (const auto& [at, e] : m.mapper.charMap()) {
        if (at.iLine != m.line) continue;
        if (at.iIndex == m.base) {
            EXPECT_EQ(e.iColumn, head.iColumn) << at.iPos;
        }
        if (at.iIndex != m.base + 1) continue;
        EXPECT_EQ(e.iColumn, head.iColumn) << at.iPos;
        top = std::min(top, e.y);
        end = std::max(end, e.y + e.height);
        ++count;
    }
    EXPECT_EQ(count, int(runs[size_t(m.base) + 1].str.size()));
    for (const auto& [at, e] : m.mapper.charMap()) {
        if (at.iLine != m.line || at.iIndex == m.base || e.iColumn != head.iColumn) continue;
        const TextInfo& run = runs[size_t(at.iIndex)];
        if (run.textType != TT_TEXT || run.chrType != runs[size_t(m.base)].chrType) continue;
        EXPECT_TRUE(e.y + e.height <= top || e.y >= end)
            << "kanji at " << at.iIndex << "/" << at.iPos << " under the reading";
    }
}

// The line takes two columns, the second beginning with the whole base, and its reading
// stays beside it, clear of its neighbours.
void ExpectBaseBeginsTheSecondColumn(const Mapped& m) {
    const auto& turns = m.buffer.lines()[size_t(m.line)].turns;
    ASSERT_EQ(turns.size(), 2u);
    EXPECT_EQ(turns[1].iIndex, m.base);
    EXPECT_EQ(turns[1].iPos, 0);
    ExpectWholeAndClear(m);
}

TEST(RubySplit, BaseWhosePartsCannotHoldTheirSharesBeginsTheNextColumn) {
    // 雅楽頭 would end the column and 忠以 begin the next: 930 and 620 units hold five and
    // three of the nine reading characters, one too few.
    Mapped m;
    MapStrict(m, CYbBunkoTxtLayout(),
              std::u16string(35, u'あ') +
                  u"酒井｜雅楽頭忠以《うたのかみたゞざね》浪人結城唯助として入塾した。",
              u"雅楽頭忠以");
    ExpectBaseBeginsTheSecondColumn(m);
}

TEST(RubySplit, PushingOutDoesNotSplitABaseSpreadForItsReading) {
    // 未詳 is spread for いまだつまびらかならず to the column end; 。） may not begin the
    // next column, and pushing out takes the whole base along rather than 詳 alone.
    Mapped m;
    MapStrict(m, CYbShinShoTate2TxtLayout(),
              u"ふ所あり、原をはると訓す、ゆゑ未詳《いまだつまびらかならず》。）"
              u"一山みな黄楊のみといへり。",
              u"未詳");
    ExpectBaseBeginsTheSecondColumn(m);
}

TEST(RubySplit, BaseWithRoomInBothPartsMaySplit) {
    // 七石二人扶持 with ふち: both parts hold their share, so the column ends inside it as
    // before, and each share stays beside its own part.
    Mapped m;
    MapStrict(m, CYbBunkoTxtLayout(),
              std::u16string(36, u'あ') + u"｜七石二人扶持《しちこくににんぶち》なる人",
              u"七石二人扶持");
    const auto& turns = m.buffer.lines()[size_t(m.line)].turns;
    ASSERT_EQ(turns.size(), 2u);
    EXPECT_EQ(turns[1].iIndex, m.base);
    EXPECT_GT(turns[1].iPos, 0);
    for (const auto& [at, e] : m.mapper.charMap()) {
        if (at.iLine != m.line || at.iIndex != m.base + 1) continue;
        EXPECT_TRUE(e.iColumn == turns[0].iColumn || e.iColumn == turns[1].iColumn);
    }
}

}  // namespace
}  // namespace Yomibon
