// A long text opened head first: the head's lines are the text's first lines, and the whole
// text read on the second thread takes their place exactly as a whole open gives it.
#include <gtest/gtest.h>

#include <thread>

#include "platform/codepage.h"
#include "platform/paths.h"
#include "settings/txt_param.h"
#include "support/test_support.h"
#include "text/aozora_parser.h"
#include "text/txt_document.h"
#include "txt_document_test_support.h"

namespace Yomibon {
namespace {

namespace T = Yomibon::Test;

// A novel-like text of `lines` body lines in Shift_JIS with CRLF line ends: headings, ruby,
// an indent block and a bold range that run across any head boundary.
std::string LongText(int lines) {
    std::u16string text = u"長い話\r\n作者某\r\n\r\n［＃ここから２字下げ］\r\n";
    for (int i = 0; i < lines; ++i) {
        if (i % 400 == 0) text += u"［＃５字下げ］第一章［＃「第一章」は中見出し］\r\n";
        if (i % 700 == 0) text += u"［＃ここから太字］\r\n";
        text +=
            u"　これは試しの文章です。同じ行を何度も｜繰《く》り返します。※［＃「土へん＋竒」、第3"
            u"水準1-15-67］\r\n";
        if (i % 700 == 350) text += u"［＃ここで太字終わり］\r\n";
    }
    text += u"［＃ここで字下げ終わり］\r\n";
    std::string bytes;
    EXPECT_TRUE(ConvertFromUtf16(CP_SHIFT_JIS, text, bytes));
    return bytes;
}

void ExpectSameLine(const LineInfo& a, const LineInfo& b, size_t line) {
    ASSERT_EQ(a.runs.size(), b.runs.size()) << "line " << line;
    for (size_t r = 0; r < a.runs.size(); ++r) {
        const TextInfo& x = a.runs[r];
        const TextInfo& y = b.runs[r];
        EXPECT_TRUE(x.str == y.str.view()) << "line " << line << " run " << r;
        EXPECT_EQ(x.textType, y.textType) << "line " << line << " run " << r;
        EXPECT_EQ(x.chrType, y.chrType) << "line " << line << " run " << r;
        EXPECT_EQ(x.tpBegin.iIndex, y.tpBegin.iIndex);
        EXPECT_EQ(x.tpBegin.iPos, y.tpBegin.iPos);
        EXPECT_EQ(x.tpEnd.iIndex, y.tpEnd.iIndex);
        EXPECT_EQ(x.tpEnd.iPos, y.tpEnd.iPos);
    }
}

class HeadFirstOpenTest : public ::testing::Test {
  protected:
    HeadFirstOpenTest() : cwd_(std::filesystem::current_path()) {}
    ~HeadFirstOpenTest() override { std::filesystem::current_path(cwd_); }

    std::unique_ptr<CYbTxtDocument> Document() {
        auto doc =
            std::make_unique<CYbTxtDocument>(param_, std::make_unique<T::OneColumnPerLineLayout>());
        doc->setDataFolder(dir_.path());
        return doc;
    }
    std::u16string Write(const std::string& name, const std::string& bytes) {
        const auto path = dir_.path() / name;
        T::WriteFile(path, bytes);
        return FromFsPath(path);
    }

    T::TempDir dir_;
    CYbTxtParam param_;
    std::filesystem::path cwd_;
};

TEST_F(HeadFirstOpenTest, HeadIsTheTextsFirstLinesAndTheRestTakesItsPlace) {
    const std::u16string path = Write("long.txt", LongText(4000));
    auto whole = Document();
    ASSERT_TRUE(whole->openFile(path));
    EXPECT_FALSE(whole->readingRest());

    auto doc = Document();
    ASSERT_TRUE(doc->openFile(path, true));
    ASSERT_TRUE(doc->readingRest());
    const auto& head = doc->buffer().lines();
    const auto& all = whole->buffer().lines();
    // Tens of spreads, not the whole, and each of its lines is the whole text's line.
    ASSERT_GT(head.size(), 300u);
    ASSERT_LT(head.size(), all.size() / 2);
    for (size_t l = 0; l < head.size(); ++l)
        ExpectSameLine(head[l], all[l], l);
    EXPECT_EQ(doc->buffer().getTitle(), whole->buffer().getTitle());
    EXPECT_EQ(doc->buffer().getAuthor(), whole->buffer().getAuthor());
    EXPECT_GT(doc->loadTimes().head, 0.0);

    ASSERT_TRUE(doc->adoptRest(true));
    EXPECT_FALSE(doc->readingRest());
    ASSERT_EQ(doc->buffer().lineCount(), whole->buffer().lineCount());
    for (size_t l = 0; l < all.size(); ++l)
        ExpectSameLine(doc->buffer().lines()[l], all[l], l);
    EXPECT_EQ(doc->buffer().boldSet(), whole->buffer().boldSet());
    EXPECT_FALSE(doc->buffer().boldSet().empty());
    EXPECT_EQ(doc->outline().size(), whole->outline().size());
    EXPECT_EQ(doc->getPageCount(), whole->getPageCount());
    EXPECT_EQ(doc->buffer().getInfo(), whole->buffer().getInfo());
    // Nothing more to take.
    EXPECT_FALSE(doc->adoptRest(true));
}

TEST_F(HeadFirstOpenTest, ShortTextsAndHeadsWithoutALineEndAreReadWhole) {
    auto doc = Document();
    // A text that is parsed whole in about the time a thread takes to start.
    ASSERT_TRUE(doc->openFile(Write("short.txt", LongText(200)), true));
    EXPECT_FALSE(doc->readingRest());
    // A first line longer than the head: the load on the second thread is the result.
    const std::string line(200000, 'a');
    const std::u16string path = Write("oneline.txt", line + "\r\n" + LongText(1000));
    ASSERT_TRUE(doc->openFile(path, true));
    EXPECT_FALSE(doc->readingRest());
    auto whole = Document();
    ASSERT_TRUE(whole->openFile(path));
    EXPECT_EQ(doc->buffer().lineCount(), whole->buffer().lineCount());
    // A missing file fails head first as it does whole.
    EXPECT_FALSE(doc->openFile(Write("x.txt", "") + u"-missing", true));
    EXPECT_EQ(doc->buffer().lineCount(), whole->buffer().lineCount());
}

TEST_F(HeadFirstOpenTest, RestReadOnTheSecondThreadCallsBackAndCanBeLetGo) {
    const std::u16string path = Write("long.txt", LongText(6000));
    auto doc = Document();
    std::atomic<int> calls{0};
    doc->setRestHook([&calls] { ++calls; });
    ASSERT_TRUE(doc->openFile(path, true));
    ASSERT_TRUE(doc->readingRest());
    for (int i = 0; i < 2000 && calls == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(doc->adoptRest(false));
    // Another text opened, and the document dropped, while the rest is being read.
    ASSERT_TRUE(doc->openFile(path, true));
    ASSERT_TRUE(doc->openFile(Write("other.txt", LongText(3000)), true));
    EXPECT_TRUE(doc->readingRest());
    doc.reset();
}

TEST(HeadFirstParse, HeadEndsAtTheLastWholeLineInEveryEncoding) {
    T::TempDir dir;
    std::u16string text;
    for (int i = 0; i < 3000; ++i)
        text += u"行" + std::u16string(i % 7 + 1, u'あ') + u"\r\n";
    std::string utf16 = "\xFF\xFE";
    for (char16_t c : text) {
        utf16 += char(c & 0xFF);
        utf16 += char(c >> 8);
    }
    std::string sjis;
    ASSERT_TRUE(ConvertFromUtf16(CP_SHIFT_JIS, text, sjis));
    for (const std::string& bytes : {sjis, utf16}) {
        const auto path = dir.path() / "t.txt";
        T::WriteFile(path, bytes);
        CYbTxtBuffer head, whole;
        bool complete = true;
        CYbAozoraTxtParser headParser, wholeParser;
        // An odd count cuts inside a character of either encoding.
        ASSERT_TRUE(headParser.loadHead(FromFsPath(path), head, 4001, complete));
        EXPECT_FALSE(complete);
        ASSERT_TRUE(wholeParser.loadFile(FromFsPath(path), whole));
        ASSERT_GT(head.lineCount(), 100);
        ASSERT_LT(head.lineCount(), whole.lineCount());
        for (int l = 0; l < head.lineCount(); ++l)
            ExpectSameLine(head.lines()[size_t(l)], whole.lines()[size_t(l)], size_t(l));
        // The whole file asked for is the whole text.
        CYbTxtBuffer all;
        CYbAozoraTxtParser allParser;
        ASSERT_TRUE(allParser.loadHead(FromFsPath(path), all, bytes.size(), complete));
        EXPECT_TRUE(complete);
        EXPECT_EQ(all.lineCount(), whole.lineCount());
    }
}

}  // namespace
}  // namespace Yomibon
