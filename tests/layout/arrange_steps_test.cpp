// An arrangement made in steps (the first spread first, the rest in slices, as the window
// opens a file) sets every line, column and map exactly as one pass does.
#include "layout/arrange_steps.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "layout/document_arranger.h"
#include "platform/paths.h"
#include "settings/txt_param.h"
#include "support/test_support.h"
#include "text/txt_document.h"

namespace Yomibon {
namespace {

namespace T = Yomibon::Test;

struct OpenedDocument {
    explicit OpenedDocument(std::u16string_view layoutFile = u"") {
        param.SetText(u"LayoutFile", layoutFile);
        auto owned = std::make_unique<CYbDocumentArranger>();
        arranger = owned.get();
        doc = std::make_unique<CYbTxtDocument>(param, std::move(owned));
        doc->setDataFolder(dir.path());
    }
    // Opening a file makes its folder current; the next test starts where this one did.
    ~OpenedDocument() { std::filesystem::current_path(cwd); }
    std::filesystem::path cwd = std::filesystem::current_path();
    T::TempDir dir;
    CYbTxtParam param;
    CYbDocumentArranger* arranger = nullptr;
    std::unique_ptr<CYbTxtDocument> doc;
};

bool SameTurn(const TextTurnPos& a, const TextTurnPos& b) {
    return a.iIndex == b.iIndex && a.iPos == b.iPos && a.iCount == b.iCount &&
           a.iLength == b.iLength && a.iColumn == b.iColumn && a.iBottom == b.iBottom;
}

// Every line's columns and figures, the run kinds the arranger sets, and its maps.
void ExpectSameArrangement(const CYbTxtBuffer& a, const CYbTxtBuffer& b) {
    ASSERT_EQ(a.lineCount(), b.lineCount());
    for (int l = 0; l < a.lineCount(); ++l) {
        const LineInfo& x = a.lines()[size_t(l)];
        const LineInfo& y = b.lines()[size_t(l)];
        ASSERT_EQ(x.iStartCol, y.iStartCol) << "line " << l;
        ASSERT_EQ(x.iNextCol, y.iNextCol) << "line " << l;
        ASSERT_EQ(x.iIndent, y.iIndent) << "line " << l;
        ASSERT_EQ(x.iHangIndent, y.iHangIndent) << "line " << l;
        ASSERT_EQ(x.iBottom, y.iBottom) << "line " << l;
        ASSERT_EQ(x.turns.size(), y.turns.size()) << "line " << l;
        for (size_t k = 0; k < x.turns.size(); ++k)
            ASSERT_TRUE(SameTurn(x.turns[k], y.turns[k])) << "line " << l << " turn " << k;
        ASSERT_EQ(x.runs.size(), y.runs.size()) << "line " << l;
        for (size_t r = 0; r < x.runs.size(); ++r)
            ASSERT_EQ(x.runs[r].textType, y.runs[r].textType) << "line " << l << " run " << r;
    }
    EXPECT_EQ(a.narrowMarks(), b.narrowMarks());
    EXPECT_EQ(a.pictureBoxes(), b.pictureBoxes());
    EXPECT_EQ(a.rubySpreads(), b.rubySpreads());
    EXPECT_EQ(a.wideColumns(), b.wideColumns());
}

// Opens `text` arranged whole and in steps of every kind, and compares the two.
void ExpectStepsEqualOnePass(const std::filesystem::path& text, std::u16string_view layout) {
    SCOPED_TRACE(text.string());
    OpenedDocument whole(layout);
    ASSERT_TRUE(whole.doc->openFile(FromFsPath(text)));
    EXPECT_FALSE(whole.arranger->arranging());

    OpenedDocument steps(layout);
    steps.arranger->deferNextArrangement();
    // As the window opens it: a long text shows the first spreads of its head.
    ASSERT_TRUE(steps.doc->openFile(FromFsPath(text), true));
    CYbTxtDocument& doc = *steps.doc;
    // A long text is not set whole by the open, nor read whole before it.
    if (std::filesystem::file_size(text) > 200000) {
        EXPECT_TRUE(steps.arranger->arranging() || doc.readingRest());
    }
    if (doc.readingRest()) {
        // The spreads shown from the head are those of the whole text.
        steps.arranger->arrangeThroughPage(doc, 2);
        const int headLines = doc.buffer().lineCount();
        for (int l = 0; l < headLines; ++l) {
            const LineInfo& line = doc.buffer().lines()[size_t(l)];
            if (line.turns.empty() || line.iNextCol > 2 * steps.arranger->layout().GetLineCount())
                break;
            ASSERT_EQ(line.iStartCol, whole.doc->buffer().lines()[size_t(l)].iStartCol);
            ASSERT_EQ(line.iNextCol, whole.doc->buffer().lines()[size_t(l)].iNextCol) << l;
        }
        steps.arranger->deferNextArrangement();
        ASSERT_TRUE(doc.adoptRest(true));
        steps.arranger->deferNextArrangement(false);
    }
    // Only the first spreads are set: what is set agrees with the whole arrangement, and
    // the rest waits at the column after it.
    const int lines = doc.buffer().lineCount();
    int set = 0;
    while (set < lines && doc.buffer().lines()[size_t(set)].turns.size() > 0)
        ++set;
    const int frontier = set > 0 ? doc.buffer().lines()[size_t(set - 1)].iNextCol : 0;
    for (int l = 0; l < set; ++l)
        ASSERT_EQ(doc.buffer().lines()[size_t(l)].iNextCol,
                  whole.doc->buffer().lines()[size_t(l)].iNextCol);
    for (int l = set; l < lines; ++l)
        ASSERT_EQ(doc.buffer().lines()[size_t(l)].iStartCol, frontier) << "line " << l;
    EXPECT_LE(doc.getPageCount(), whole.doc->getPageCount());

    steps.arranger->arrangeForStart(doc);
    steps.arranger->arrangeThroughPage(doc, 7);
    for (int slice = 0; slice < 5 && steps.arranger->arranging(); ++slice)
        steps.arranger->arrangeSome(doc, std::chrono::microseconds(200));
    steps.arranger->arrangeThroughPage(doc, doc.getPageCount() / 2);
    steps.arranger->finishArrangement(doc);
    EXPECT_FALSE(steps.arranger->arranging());

    ExpectSameArrangement(whole.doc->buffer(), doc.buffer());
    EXPECT_EQ(doc.getPageCount(), whole.doc->getPageCount());
    EXPECT_EQ(steps.arranger->lastPage(), whole.arranger->lastPage());
}

TEST(ArrangeSteps, TheSampleInStepsEqualsOnePassInBothLayouts) {
    // The sample, and a book of it many times over that is long enough to be set in steps.
    const auto sample = T::DataDir() / "document" / "sample.txt";
    T::TempDir dir;
    const auto book = dir.path() / "book.txt";
    const std::string bytes = T::ReadFile(sample);
    std::string many;
    while (many.size() < 300000)
        many += bytes;
    T::WriteFile(book, many);
    for (const auto& text : {sample, book}) {
        ExpectStepsEqualOnePass(text, u"");
        ExpectStepsEqualOnePass(text, FromFsPath(ProgramFolder() / "Layout" / "ShinshoTate2.lay"));
    }
}

TEST(ArrangeSteps, EveryCorpusTextInStepsEqualsOnePass) {
    YB_REQUIRE_CORPUS();
    std::vector<std::filesystem::path> texts;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(T::CorpusDir()))
        if (entry.is_regular_file() && entry.path().extension() == ".txt")
            texts.push_back(entry.path());
    std::sort(texts.begin(), texts.end());
    ASSERT_FALSE(texts.empty());
    for (const auto& text : texts)
        ExpectStepsEqualOnePass(text, u"");
}

TEST(ArrangeSteps, StepsOfEveryKindStopWhereAsked) {
    OpenedDocument a;
    // Ten lines of 100 characters: 5 columns each in the 20-cell built-in boxes or fewer
    // in larger ones, so the text fills several spreads.
    std::u16string text;
    for (int l = 0; l < 400; ++l)
        text += std::u16string(100, u'あ') + u"\r\n";
    ASSERT_TRUE(a.doc->openText(text));
    const CYbTxtBuffer whole = a.doc->buffer();
    const int pages = a.doc->getPageCount();
    ASSERT_GT(pages, 9);

    CYbTxtBuffer& buffer = a.doc->buffer();
    CYbArrangeSteps steps(buffer, a.arranger->layout(), a.param);
    EXPECT_EQ(steps.nextLine(), 0);
    EXPECT_EQ(steps.frontier(), 0);
    EXPECT_EQ(steps.lastPage(), 1);
    const int perSpread = steps.columnsPerSpread();
    EXPECT_EQ(perSpread, a.arranger->lineCount());

    steps.throughColumn(perSpread);
    EXPECT_GE(steps.frontier(), perSpread);
    // No more than the line that reached the column was set.
    EXPECT_LT(buffer.lines()[size_t(steps.nextLine() - 2)].iNextCol, perSpread);
    // The spread that is set is found through the column look-up; the one after is not.
    TextPoint point;
    EXPECT_TRUE(buffer.columnToPoint(perSpread - 1, point));
    EXPECT_FALSE(buffer.columnToPoint(steps.frontier() + 1, point));

    steps.throughLine(100);
    EXPECT_EQ(steps.nextLine(), 101);
    steps.throughLine(50);  // already set
    EXPECT_EQ(steps.nextLine(), 101);
    steps.forAbout(std::chrono::microseconds(0));
    EXPECT_GT(steps.nextLine(), 101);
    EXPECT_FALSE(steps.done());
    steps.finish();
    EXPECT_TRUE(steps.done());
    EXPECT_EQ(steps.lastPage(), pages);
    ExpectSameArrangement(whole, buffer);
}

}  // namespace
}  // namespace Yomibon
