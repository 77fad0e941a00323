#include "text/txt_parser_mgr.h"

#include <gtest/gtest.h>

#include "platform/paths.h"
#include "support/test_support.h"
#include "text/file_kind.h"

namespace Yomibon {
namespace {

TEST(TxtParserMgr, ChoosesTheParserByName) {
    CYbTxtParserMgr mgr;
    constexpr int html = CYbTxtParserMgr::PK_HTML, text = CYbTxtParserMgr::PK_AOZORA;
    EXPECT_EQ(mgr.chooseParser(u"https://www.aozora.gr.jp/cards/000148/card789.html"), html);
    EXPECT_EQ(mgr.chooseParser(u"http://example.com/a.txt"), html);  // a URL, whatever its end
    EXPECT_EQ(mgr.chooseParser(u"C:\\books\\a.txt"), text);          // a drive letter is local
    EXPECT_EQ(mgr.chooseParser(u"C:\\books\\a.xhtml"), html);
    EXPECT_EQ(mgr.chooseParser(u"/books/a.html#chapter2"), html);
    EXPECT_EQ(mgr.chooseParser(u"/books/a.HTM"), html);
    EXPECT_EQ(mgr.chooseParser(u"/books/a.XhTmL"), html);
    EXPECT_EQ(mgr.chooseParser(u"/books/a.txt#frag.html"), text);
    EXPECT_EQ(mgr.chooseParser(u"/books/a.txt"), text);
    EXPECT_EQ(mgr.chooseParser(u"/books/noext"), text);
    EXPECT_EQ(mgr.chooseParser(u"/books.html/noext"), text);
    EXPECT_EQ(mgr.chooseParser(u"/books/a.htmlx"), text);
    EXPECT_EQ(mgr.chooseParser(u""), text);
}

TEST(TxtParserMgr, ClassifiesFileKinds) {
    EXPECT_EQ(ClassifyFileName(u"/a/b.zip"), FK_ARCHIVE);
    EXPECT_EQ(ClassifyFileName(u"/a/b.ZiP"), FK_ARCHIVE);
    EXPECT_EQ(ClassifyFileName(u"/a/b.lzh"), FK_ARCHIVE);
    EXPECT_EQ(ClassifyFileName(u"/a/b.7z"), FK_ARCHIVE);
    EXPECT_EQ(ClassifyFileName(u"/a/b.txt"), FK_DOCUMENT);
    EXPECT_EQ(ClassifyFileName(u"/a/b.TXT"), FK_DOCUMENT);
    EXPECT_EQ(ClassifyFileName(u"/a/b.html"), FK_DOCUMENT);
    EXPECT_EQ(ClassifyFileName(u"/a/b"), FK_DOCUMENT);
    EXPECT_EQ(ClassifyFileName(u"/a/b.siori"), FK_BOOKMARK);
    EXPECT_EQ(ClassifyFileName(u"/a/b.SIORI"), FK_BOOKMARK);
    EXPECT_EQ(ClassifyFileName(u"/a/b.lnk"), FK_SHORTCUT);
    EXPECT_EQ(ClassifyFileName(u"/a/b.zip#x.txt"), FK_ARCHIVE);
    EXPECT_EQ(ClassifyFileName(u"http://example.com/b.zip"), FK_DOCUMENT);
    EXPECT_EQ(ClassifyFileName(u"C:\\a\\b.zip"), FK_ARCHIVE);
    EXPECT_EQ(NameExtension(u"/a.b/c.d#e.f"), u"d");
    EXPECT_TRUE(NameExtension(u"/a.b/c").empty());
    EXPECT_TRUE(NameExtension(u"C:\\a.b\\c").empty());
}

TEST(TxtParserMgr, OpensAndParses) {
    CYbTxtParserMgr mgr;
    CYbTxtBuffer buffer;
    auto sample = Yomibon::Test::DataDir() / "document" / "sample.txt";
    ASSERT_TRUE(mgr.open(FromFsPath(sample), buffer));
    EXPECT_EQ(buffer.getTitle(), u"吾輩の本");
    EXPECT_EQ(buffer.getAuthor(), u"夏目漱石");
    EXPECT_NE(buffer.getInfo().find(u"吾輩の本"), std::u16string::npos);
    EXPECT_GT(buffer.lineCount(), 10);

    // A file that cannot be opened leaves an empty buffer titled with its name.
    std::u16string missing = u"/no/such/folder/a.txt";
    EXPECT_FALSE(mgr.open(missing, buffer));
    EXPECT_EQ(buffer.lineCount(), 0);
    EXPECT_EQ(buffer.getTitle(), missing);
    EXPECT_TRUE(buffer.getAuthor().empty());
    EXPECT_TRUE(buffer.getInfo().empty());
    EXPECT_FALSE(mgr.open(u"/no/such/page.html", buffer));
    EXPECT_EQ(buffer.getTitle(), u"/no/such/page.html");

    std::u16string text = u"題名\r\n著者\r\n\r\n本文";
    ASSERT_TRUE(mgr.parse(text.data(), buffer));
    EXPECT_EQ(buffer.getTitle(), u"題名");
    EXPECT_EQ(buffer.getAuthor(), u"著者");
    EXPECT_FALSE(mgr.parse(nullptr, buffer));
    EXPECT_TRUE(buffer.getTitle().empty());
    EXPECT_TRUE(buffer.getAuthor().empty());
}

}  // namespace
}  // namespace Yomibon
