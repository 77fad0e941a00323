#include "layout/document_arranger.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/paths.h"
#include "settings/txt_param.h"
#include "support/test_support.h"
#include "text/txt_document.h"

namespace Yomibon {
namespace {

namespace T = Yomibon::Test;

struct ArrangedDocument {
    explicit ArrangedDocument(std::u16string_view layoutFile) {
        param.SetText(u"LayoutFile", layoutFile);
        auto owned = std::make_unique<CYbDocumentArranger>();
        arranger = owned.get();
        doc = std::make_unique<CYbTxtDocument>(param, std::move(owned));
        doc->setDataFolder(dir.path());
    }
    // Opening a file makes its folder current; the next test starts where this one did.
    ~ArrangedDocument() { std::filesystem::current_path(cwd); }
    std::filesystem::path cwd = std::filesystem::current_path();
    T::TempDir dir;
    CYbTxtParam param;
    CYbDocumentArranger* arranger = nullptr;
    std::unique_ptr<CYbTxtDocument> doc;
};

// Every spread's first position lies on that spread, and the page count is the one the
// arranger worked out.
void ExpectPagesConsistent(const CYbTxtDocument& doc, const CYbDocumentArranger& arranger) {
    EXPECT_EQ(doc.getPageCount(), arranger.lastPage());
    EXPECT_EQ(doc.getPageCount() % 2, 1);
    int found = 0;
    for (int32_t page = 0; page <= doc.getPageCount(); page += 2) {
        TextPoint point;
        if (!doc.pageToPoint(page, point)) continue;
        ++found;
        int32_t back = doc.pointToPage(point);
        EXPECT_TRUE(back == page || back == page + 1)
            << "page " << page << " came back as " << back;
    }
    EXPECT_GT(found, 0);
}

TEST(DocumentArranger, ArrangesTheDocumentInTheBuiltInAndFileLayouts) {
    ArrangedDocument a(u"");
    EXPECT_EQ(a.arranger->lineCount(), 34);
    EXPECT_EQ(a.arranger->textBoxCount(), 2);
    auto sample = T::DataDir() / "document" / "sample.txt";
    ASSERT_TRUE(a.doc->openFile(FromFsPath(sample)));
    ExpectPagesConsistent(*a.doc, *a.arranger);
    // The title page comes first: the first heading is on the next page.
    ASSERT_FALSE(a.doc->outline().empty());
    EXPECT_EQ(a.doc->pointToPage(a.doc->outline()[1].begin), 1);

    // The two-tier layout file of the program folder.
    a.param.SetText(u"LayoutFile", FromFsPath(ProgramFolder() / "Layout" / "ShinshoTate2.lay"));
    a.doc->reloadLayout();
    EXPECT_EQ(a.arranger->lineCount(), 68);
    EXPECT_EQ(a.arranger->textBoxCount(), 4);
    ExpectPagesConsistent(*a.doc, *a.arranger);

    // A layout file that cannot be read leaves the layout as it was.
    a.param.SetText(u"LayoutFile", u"/no/such/layout.lay");
    a.doc->reloadLayout();
    EXPECT_EQ(a.arranger->lineCount(), 68);
    a.param.SetText(u"LayoutFile", u"");
    a.doc->reloadLayout();
    EXPECT_EQ(a.arranger->lineCount(), 34);
}

TEST(DocumentArranger, CorpusTextsKeepTheirBookmarksAcrossLayouts) {
    YB_REQUIRE_CORPUS();
    std::vector<std::filesystem::path> texts;
    for (const auto& dir : std::filesystem::directory_iterator(T::CorpusDir()))
        for (const auto& f : std::filesystem::directory_iterator(dir.path()))
            if (f.path().extension() == ".txt") texts.push_back(f.path());
    std::sort(texts.begin(), texts.end());
    texts.resize(std::min<size_t>(texts.size(), 4));
    ASSERT_FALSE(texts.empty());
    for (const auto& text : texts) {
        SCOPED_TRACE(text.string());
        ArrangedDocument a(u"");
        ASSERT_TRUE(a.doc->openFile(FromFsPath(text)));
        ExpectPagesConsistent(*a.doc, *a.arranger);
        int32_t page = (a.doc->getPageCount() / 2) & ~1;
        a.doc->bookmarks().AddEntry(page);
        ASSERT_EQ(a.doc->bookmarks().EntryCount(), 1);
        BookmarkEntry before = a.doc->bookmarks().Entries()[0];

        a.param.SetText(u"LayoutFile", FromFsPath(ProgramFolder() / "Layout" / "ShinshoTate2.lay"));
        a.doc->reloadLayout();
        ExpectPagesConsistent(*a.doc, *a.arranger);
        const BookmarkEntry& after = a.doc->bookmarks().Entries()[0];
        EXPECT_EQ(after.point, before.point);
        EXPECT_EQ(after.label, before.label);
        int32_t expected = a.doc->pointToPage(after.point);
        EXPECT_TRUE(after.page >= expected && after.page <= expected + 2);
    }
}

}  // namespace
}  // namespace Yomibon
