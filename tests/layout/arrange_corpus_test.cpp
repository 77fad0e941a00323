// Every text of the corpus arranges in both built-in layouts within the columns' room.
#include <gtest/gtest.h>

#include <filesystem>

#include "arrange_test_support.h"
#include "layout/bunko_txt_layout.h"
#include "layout/shinsho_txt_layout.h"
#include "platform/utf16.h"
#include "support/test_support.h"

namespace Yomibon::Test {
namespace {

std::vector<std::filesystem::path> CorpusTexts() {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(CorpusDir()))
        if (entry.is_regular_file() && entry.path().extension() == ".txt")
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

// Checks every column of an arranged text; returns the number of columns.
int CheckColumns(const Arranged& a, const std::string& name) {
    CYbKinsoku kinsoku(a.param);
    int expected = 0;
    int columns = 0;
    for (int l = 0; l < a.buffer.lineCount(); ++l) {
        const LineInfo& line = a.line(l);
        EXPECT_GE(line.iStartCol, expected) << name << " line " << l;
        EXPECT_GE(line.iNextCol, line.iStartCol) << name << " line " << l;
        expected = line.iNextCol;
        if (line.iNextCol == line.iStartCol) continue;
        for (size_t k = 0; k < line.turns.size(); ++k) {
            const TextTurnPos& t = line.turns[k];
            // One turn per column, in order.
            EXPECT_EQ(t.iColumn, line.iStartCol + int(k)) << name << " line " << l;
            ColumnSummary c = SummarizeColumn(a.buffer, l, k, a.boxes, kinsoku);
            int room = c.capacity + CYbIndexCreator::kMaxHanging * 4;
            EXPECT_LE(c.end, room)
                << name << " line " << l << " column " << t.iColumn << ": " << ToUtf8(c.text);
            EXPECT_LE(c.hanging, CYbIndexCreator::kMaxHanging + 1)
                << name << " line " << l << ": " << ToUtf8(c.text);
            ++columns;
        }
    }
    return columns;
}

TEST(ArrangeCorpus, EveryTextFitsItsColumnsInBothBuiltInLayouts) {
    YB_REQUIRE_CORPUS();
    CYbBunkoTxtLayout bunko;
    CYbShinShoTate2TxtLayout shinsho;
    auto files = CorpusTexts();
    ASSERT_FALSE(files.empty());
    for (const auto& file : files) {
        for (const CYbTxtLayout* layout : {static_cast<const CYbTxtLayout*>(&bunko),
                                           static_cast<const CYbTxtLayout*>(&shinsho)}) {
            Arranged a;
            a.boxes = layout->GetBoxes(TextLayout);
            CYbAozoraTxtParser parser;
            ASSERT_TRUE(parser.loadFile(FromUtf8(file.string()), a.buffer)) << file;
            a.lastPage = ArrangeDocument(a.buffer, *layout, a.param);
            std::string name = file.filename().string() + " " + ToUtf8(layout->GetTypeName());
            int columns = CheckColumns(a, name);
            EXPECT_GT(columns, 0) << name;
            EXPECT_EQ(a.lastPage % 2, 1) << name;
            int last = a.buffer.lines().back().iNextCol;
            EXPECT_GE((a.lastPage + 1) * layout->GetLineCount() / 2, last) << name;
        }
    }
}

}  // namespace
}  // namespace Yomibon::Test
