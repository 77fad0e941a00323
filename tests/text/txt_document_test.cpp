#include "text/txt_document.h"

#include <gtest/gtest.h>

#include "platform/paths.h"
#include "platform/utf16.h"
#include "settings/bookmark_file.h"
#include "settings/txt_param.h"
#include "support/test_support.h"
#include "text/file_kind.h"
#include "txt_document_test_support.h"

namespace Yomibon {
namespace {

namespace T = Yomibon::Test;

std::u16string U(const std::filesystem::path& p) {
    return FromFsPath(p);
}

class TxtDocumentTest : public ::testing::Test {
  protected:
    TxtDocumentTest() : cwd_(std::filesystem::current_path()) {
        auto layout = std::make_unique<T::OneColumnPerLineLayout>();
        layout_ = layout.get();
        doc_ = std::make_unique<CYbTxtDocument>(param_, std::move(layout));
        doc_->setDataFolder(dir_.path());
        text_ = dir_.path() / "texts" / "sample.txt";
        T::WriteFile(text_, T::ReadFile(T::DataDir() / "document" / "sample.txt"));
    }
    ~TxtDocumentTest() override { std::filesystem::current_path(cwd_); }

    // The first line whose first run has a type.
    int32_t LineOfType(int type) const {
        const auto& lines = doc_->buffer().lines();
        for (size_t i = 0; i < lines.size(); ++i)
            for (const TextInfo& run : lines[i].runs)
                if (run.textType == type) return int32_t(i);
        return -1;
    }

    std::filesystem::path cwd_;
    T::TempDir dir_;
    CYbTxtParam param_;
    T::OneColumnPerLineLayout* layout_ = nullptr;
    std::unique_ptr<CYbTxtDocument> doc_;
    std::filesystem::path text_;
};

TEST_F(TxtDocumentTest, OpensARelativePathFromTheDataFolder) {
    EXPECT_EQ(layout_->loaded, u"Layout/Bunko.lay");  // the layout-file setting
    ASSERT_TRUE(doc_->openFile(u"texts/./sample.txt"));
    EXPECT_EQ(doc_->getFileName(), U(text_));
    EXPECT_EQ(std::filesystem::current_path(), text_.parent_path());
    EXPECT_EQ(doc_->buffer().getTitle(), u"吾輩の本");
    EXPECT_EQ(doc_->buffer().getAuthor(), u"夏目漱石");
    EXPECT_FALSE(doc_->isOpenedFromBookmark());
    EXPECT_GT(doc_->loadTimes().parse, 0.0);

    // Dot headings first (the memo mode is on by default), then annotated headings.
    const auto& outline = doc_->outline();
    ASSERT_EQ(outline.size(), 3u);
    EXPECT_EQ(outline[0].level, 2);
    EXPECT_EQ(outline[0].text, u"小見出しの行");
    EXPECT_EQ(outline[1].level, 1);
    EXPECT_EQ(outline[1].text, u"第一章");
    EXPECT_EQ(outline[2].level, 2);
    EXPECT_EQ(outline[2].text, u"第二章");

    // One column per line, two columns per page: the last page is that of the last
    // column, made odd.
    int32_t lines = doc_->buffer().lineCount();
    ASSERT_GT(lines, 10);
    EXPECT_EQ(doc_->getPageCount(), ((lines - 1) / 2) | 1);
    EXPECT_EQ(doc_->getPageCount() % 2, 1);
}

TEST_F(TxtDocumentTest, NormalisesQuotedAndUntidyPaths) {
    std::u16string untidy = U(dir_.path()) + u"\\texts\\..\\texts/./sample.txt";
    ASSERT_TRUE(doc_->openFile(u"\"" + untidy + u"\" --ignored"));
    EXPECT_EQ(doc_->getFileName(), U(text_));
    ASSERT_TRUE(doc_->openFile(U(text_) + u"\r\n"));
    const std::u16string& name = doc_->getFileName();
    EXPECT_EQ(name.find_first_of(u"\\\r\n"), std::u16string::npos);
    EXPECT_EQ(name, U(text_));
}

TEST_F(TxtDocumentTest, AFailedOpenKeepsTheDocumentShown) {
    ASSERT_TRUE(doc_->openFile(U(text_)));
    ASSERT_TRUE(doc_->hold(0, this));
    const std::u16string title = doc_->buffer().getTitle();
    const int32_t lines = doc_->buffer().lineCount();
    const int32_t pages = doc_->getPageCount();
    const size_t headings = doc_->outline().size();
    std::u16string missing = U(dir_.path() / "missing.txt");
    EXPECT_FALSE(doc_->openFile(missing));
    // The reader stays in the text he was reading: same text, pages, outline, bookmarks.
    EXPECT_EQ(doc_->getFileName(), U(text_));
    EXPECT_EQ(doc_->buffer().getTitle(), title);
    EXPECT_EQ(doc_->buffer().lineCount(), lines);
    EXPECT_EQ(doc_->getPageCount(), pages);
    EXPECT_EQ(doc_->outline().size(), headings);
    EXPECT_EQ(doc_->holder(0).count, 1);
    EXPECT_EQ(doc_->bookmarks().TextPath(), U(text_));
    // Names the HTML parser reads fail the same way when they cannot be read.
    EXPECT_FALSE(doc_->openFile(u"/books/no-such-page.HTML#part2"));
    EXPECT_EQ(doc_->buffer().getTitle(), title);
    EXPECT_FALSE(doc_->openFile(u"ftp://example.invalid/a.txt"));
    EXPECT_EQ(doc_->getFileName(), U(text_));
    EXPECT_EQ(doc_->buffer().lineCount(), lines);
}

TEST_F(TxtDocumentTest, PagesAndPointsConvertBothWays) {
    ASSERT_TRUE(doc_->openFile(U(text_)));
    TextPoint p;
    ASSERT_TRUE(doc_->pageToPoint(0, p));
    EXPECT_EQ(p, (TextPoint{0, 0, 0}));
    // Odd pages answer with the first point of their spread.
    ASSERT_TRUE(doc_->pageToPoint(3, p));
    EXPECT_EQ(p, (TextPoint{4, 0, 0}));
    ASSERT_TRUE(doc_->pageToPoint(4, p));
    EXPECT_EQ(p, (TextPoint{8, 0, 0}));
    EXPECT_FALSE(doc_->pageToPoint(1000, p));
    EXPECT_FALSE(doc_->pageToPoint(-2, p));

    EXPECT_EQ(doc_->pointToPage({0, 0, 0}), 0);
    EXPECT_EQ(doc_->pointToPage({3, 0, 0}), 1);
    EXPECT_EQ(doc_->pointToPage({8, 0, 5}), 4);
    EXPECT_EQ(doc_->pointToPage({9, 0, 0}), 4);
    EXPECT_EQ(doc_->pointToPage({500, 0, 0}), doc_->getPageCount());
    EXPECT_EQ(doc_->pointToPage({-1, 0, 0}), -1);

    // A picture that takes box 13 (of two boxes per spread) is on page 12.
    doc_->buffer().pictureBoxes()[{5, 1, 0}] = {13, 13};
    ASSERT_TRUE(doc_->pageToPoint(12, p));
    EXPECT_EQ(p, (TextPoint{5, 1, 0}));
    EXPECT_EQ(doc_->pointToPage({5, 1, 0}), 12);
    doc_->reloadLayout();
    EXPECT_GE(doc_->getPageCount(), 13);
    EXPECT_EQ(doc_->getPageCount() % 2, 1);

    // A layout with a single text box still has one box per page.
    layout_->boxes = 1;
    EXPECT_EQ(doc_->pointToPage({5, 1, 0}), 12);

    // Four lines fill the first spread exactly: no blank spread follows.
    ASSERT_TRUE(doc_->openText(u"一\r\n二\r\n三"));
    ASSERT_EQ(doc_->buffer().lineCount(), 4);
    EXPECT_EQ(doc_->getPageCount(), 1);
    ASSERT_TRUE(doc_->openText(u"一\r\n二\r\n三\r\n四"));
    EXPECT_EQ(doc_->getPageCount(), 3);
}

TEST_F(TxtDocumentTest, OpeningABookmarkFileOpensItsText) {
    auto siori = dir_.path() / "marks" / "mine.siori";
    SioriContent c;
    c.textPath = U(text_);
    c.last = {4, 0, 0, u""};
    c.entries = {{6, 0, 0, u"stale label"}, {99999, 0, 0, u"past the end"}};
    ASSERT_TRUE(WriteSioriFile(U(siori), c));
    EXPECT_EQ(doc_->getFileKind(U(siori)), FK_BOOKMARK);

    ASSERT_TRUE(doc_->openFile(U(siori)));
    EXPECT_EQ(doc_->getFileName(), U(text_));
    EXPECT_TRUE(doc_->isOpenedFromBookmark());
    EXPECT_EQ(doc_->bookmarks().SioriPath(), U(siori));
    EXPECT_EQ(doc_->bookmarks().TextPath(), U(text_));
    EXPECT_EQ(doc_->getStartPage(), 2);
    ASSERT_EQ(doc_->bookmarks().EntryCount(), 2);
    EXPECT_EQ(doc_->bookmarks().GetEntryPage(0), 3);
    // A position past the end of the text (which changed since) stays, on the last page.
    EXPECT_EQ(doc_->bookmarks().GetEntryPage(1), doc_->getPageCount());
    EXPECT_EQ(doc_->bookmarks().Entries()[1].label, u"past the end");
    std::u16string line6;
    doc_->buffer().getText(line6, {6, 0, 0}, {6, INT32_MAX, INT32_MAX}, 0);
    EXPECT_EQ(doc_->bookmarks().Entries()[0].label, line6);
}

TEST_F(TxtDocumentTest, FindsTheBookmarkFileBesideTheText) {
    auto beside = text_;
    beside += ".siori";
    SioriContent c;
    c.textPath = U(text_);
    c.last = {8, 0, 0, u""};
    ASSERT_TRUE(WriteSioriFile(U(beside), c));
    ASSERT_TRUE(doc_->openFile(U(text_)));
    EXPECT_TRUE(doc_->isOpenedFromBookmark());
    EXPECT_EQ(doc_->bookmarks().TextPath(), U(text_));
    EXPECT_EQ(doc_->bookmarks().SioriPath(), U(beside));
    EXPECT_EQ(doc_->getStartPage(), 4);
}

TEST_F(TxtDocumentTest, SavesToTheBookmarkFolderAndFindsTheBookmarksAgain) {
    ASSERT_TRUE(doc_->openFile(U(text_)));
    doc_->bookmarks().AddEntry(2);
    doc_->bookmarks().AddEntry(2);  // the same position once only
    doc_->bookmarks().AddEntry(6);
    doc_->bookmarks().SetLastPosition(4);
    ASSERT_EQ(doc_->bookmarks().EntryCount(), 2);
    ASSERT_TRUE(doc_->bookmarks().Save());
    auto folder = dir_.path() / "Bookmark";
    EXPECT_TRUE(std::filesystem::is_regular_file(folder / "1.siori"));
    EXPECT_TRUE(std::filesystem::is_regular_file(folder / "bookmark.lis"));
    EXPECT_FALSE(std::filesystem::exists(U(text_) + u".siori"));

    ASSERT_TRUE(doc_->openText(u"別の文書"));
    EXPECT_EQ(doc_->bookmarks().EntryCount(), 0);
    ASSERT_TRUE(doc_->openFile(U(text_)));
    EXPECT_TRUE(doc_->isOpenedFromBookmark());
    EXPECT_EQ(doc_->bookmarks().TextPath(), U(text_));
    ASSERT_EQ(doc_->bookmarks().EntryCount(), 2);
    EXPECT_EQ(doc_->bookmarks().GetEntryPage(0), 2);
    EXPECT_EQ(doc_->bookmarks().GetEntryPage(1), 6);
    EXPECT_EQ(doc_->getStartPage(), 4);

    doc_->bookmarks().DeleteEntry(0);
    doc_->bookmarks().DeleteEntry(7);
    EXPECT_EQ(doc_->bookmarks().EntryCount(), 1);
    EXPECT_EQ(doc_->bookmarks().GetEntryPage(1), -1);
    EXPECT_EQ(doc_->bookmarks().GetEntryPage(-1), -1);
}

TEST_F(TxtDocumentTest, SavesBesideTheTextWhenNotKeptInTheFolder) {
    param_.SetBoolean(u"BookMarkToFolder", false);
    ASSERT_TRUE(doc_->openFile(U(text_)));
    doc_->bookmarks().AddEntry(4);
    ASSERT_TRUE(doc_->bookmarks().Save());
    std::u16string beside = U(text_) + u".siori";
    SioriContent c;
    ASSERT_TRUE(ReadSioriFile(beside, c));
    EXPECT_EQ(c.textPath, U(text_));
    ASSERT_EQ(c.entries.size(), 1u);
    EXPECT_EQ(c.entries[0].line, 8);
    EXPECT_FALSE(std::filesystem::exists(dir_.path() / "Bookmark"));
}

TEST_F(TxtDocumentTest, BookmarksFollowARelayout) {
    ASSERT_TRUE(doc_->openFile(U(text_)));
    doc_->bookmarks().AddEntry(6);  // line 12, the first line of the body
    doc_->bookmarks().SetLastPosition(4);
    ASSERT_EQ(doc_->bookmarks().GetEntryPage(0), 6);
    std::u16string label = doc_->bookmarks().Entries()[0].label;
    EXPECT_FALSE(label.empty());
    int loads = layout_->loads;

    layout_->columns = 8;  // four columns per page now
    doc_->reloadLayout();
    EXPECT_EQ(layout_->loads, loads + 1);
    EXPECT_EQ(doc_->bookmarks().Entries()[0].point, (TextPoint{12, 0, 0}));
    EXPECT_EQ(doc_->bookmarks().GetEntryPage(0), 3);
    EXPECT_EQ(doc_->bookmarks().Entries()[0].label, label);
    EXPECT_EQ(label, u"　吾輩は猫である。名前はまだ無い。");
    EXPECT_EQ(doc_->getStartPage(), 2);

    // A bookmark on a page break run belongs to the page after it.
    int32_t breakLine = LineOfType(TT_NEXT_PAGE);
    ASSERT_GT(breakLine, 0);
    int32_t index = 0;
    const auto& runs = doc_->buffer().lines()[size_t(breakLine)].runs;
    while (runs[size_t(index)].textType != TT_NEXT_PAGE)
        ++index;
    SioriContent c;
    c.textPath = U(text_);
    c.entries = {{breakLine, index, 0, u""}};
    auto file = dir_.path() / "break.siori";
    ASSERT_TRUE(WriteSioriFile(U(file), c));
    ASSERT_TRUE(doc_->bookmarks().ReadSiori(U(file)));
    doc_->bookmarks().UpdatePages();
    EXPECT_EQ(doc_->bookmarks().GetEntryPage(0), doc_->pointToPage({breakLine, index, 0}) + 1);
}

// The document's frequent characters are HitMap's: the same runs, counts, ties broken by the
// smaller character, characters beyond the basic plane counted as one.
TEST_F(TxtDocumentTest, FrequentCharactersAreThoseHitMapCounts) {
    std::u16string text = u"題名\r\n作者\r\n\r\n";
    for (int i = 0; i < 40; ++i)
        text += u"吾輩は猫である。𠮷野家の𠮷《よし》。ｶﾞ゛ぱ［＃「猫」に傍点］\r\n";
    for (char16_t c = u'ア'; c < u'ア' + 40; ++c)
        text += std::u16string(size_t(c - u'ア' + 1), c) + u"\r\n";
    ASSERT_TRUE(doc_->openText(text));
    std::u16string frequent;
    doc_->getFrequentChars(frequent);
    std::u16string expected;
    {
        HitMap hits(doc_->buffer(), expected, 30);
        doc_->buffer().forEachAll(hits);
    }
    EXPECT_EQ(CharCount(frequent), 30u);
    EXPECT_EQ(frequent, expected);
    EXPECT_NE(frequent.find(u"𠮷"), std::u16string::npos);
}

TEST_F(TxtDocumentTest, OpensTextAndClipboard) {
    ASSERT_TRUE(doc_->openText(u"題名\r\n作者\r\n\r\n本文です。"));
    EXPECT_EQ(doc_->buffer().getTitle(), u"題名");
    EXPECT_TRUE(doc_->getFileName().empty());
    ASSERT_TRUE(doc_->openText(u""));
    EXPECT_EQ(doc_->buffer().getTitle(), u"テキスト");

    T::StringClipboard clipboard;
    doc_->setClipboard(&clipboard);
    clipboard.text = u"本文だけの一行";
    ASSERT_TRUE(doc_->openClipboard());
    EXPECT_EQ(doc_->buffer().getTitle(), u"クリップボード");
    EXPECT_GE(doc_->buffer().lineCount(), 2);
    std::u16string frequent;
    doc_->getFrequentChars(frequent);
    EXPECT_NE(frequent.find(u'本'), std::u16string::npos);

    // Without text on the clipboard: an empty document (the parser's empty first line and
    // one empty text line), titled as the clipboard.
    clipboard.available = false;
    auto expectEmpty = [this] {
        EXPECT_EQ(doc_->buffer().getTitle(), u"クリップボード");
        EXPECT_GE(doc_->buffer().lineCount(), 1);
        EXPECT_LE(doc_->buffer().lineCount(), 2);
        std::u16string all;
        doc_->buffer().getText(all, {0, 0, 0}, {INT32_MAX, 0, 0}, 0);
        EXPECT_EQ(all.find_first_not_of(u"\r\n"), std::u16string::npos);
        EXPECT_EQ(doc_->getPageCount(), 1);
    };
    ASSERT_TRUE(doc_->openClipboard());
    expectEmpty();
    doc_->setClipboard(nullptr);
    ASSERT_TRUE(doc_->openClipboard());
    expectEmpty();
}

TEST_F(TxtDocumentTest, HoldersAreReleasedWhenTheDocumentIsCleared) {
    int a = 0, b = 0;
    EXPECT_TRUE(doc_->hold(0, &a));
    EXPECT_TRUE(doc_->hold(0, &a));
    EXPECT_FALSE(doc_->hold(0, &b));
    EXPECT_TRUE(doc_->hold(1, &b));
    EXPECT_FALSE(doc_->hold(2, &b));
    doc_->release(0, &b);
    EXPECT_EQ(doc_->holder(0).count, 2);
    doc_->release(0, &a);
    EXPECT_EQ(doc_->holder(0).count, 1);
    EXPECT_EQ(doc_->holder(0).owner, &a);
    ASSERT_TRUE(doc_->openText(u"新しい本文"));
    for (int i = 0; i < CYbTxtDocument::kHolderCount; ++i) {
        EXPECT_EQ(doc_->holder(i).count, 0);
        EXPECT_EQ(doc_->holder(i).owner, nullptr);
    }
}

TEST_F(TxtDocumentTest, ShowsPropertiesOnlyForAFile) {
    std::u16string shown;
    auto show = [&shown](const std::u16string& path) { shown = path; };
    ASSERT_TRUE(doc_->openText(u"本文"));
    doc_->showProperties(show);
    EXPECT_TRUE(shown.empty());
    ASSERT_TRUE(doc_->openFile(U(text_)));
    doc_->showProperties(show);
    EXPECT_EQ(shown, U(text_));
    doc_->showProperties(nullptr);
}

TEST(TxtDocumentEmptyLayout, KeepsOneSpreadUntilArranged) {
    CYbTxtParam param;
    CYbTxtDocument doc(param);
    EXPECT_EQ(doc.getPageCount(), 1);
    ASSERT_TRUE(doc.openText(u"一行目\r\n二行目\r\n三行目"));
    EXPECT_EQ(doc.getPageCount(), 1);
    EXPECT_EQ(doc.layout().lineCount(), 34);
    TextPoint p;
    EXPECT_FALSE(doc.pageToPoint(0, p));
    EXPECT_EQ(doc.pointToPage({1, 0, 0}), 0);
}

}  // namespace
}  // namespace Yomibon
