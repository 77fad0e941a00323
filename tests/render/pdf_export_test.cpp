// PDF export checked with poppler's tools as a reader would open the file: pages and
// their size, embedded fonts, the text in reading order, and ink where the bitmap canvas
// puts it. Skipped where poppler-utils is not installed.
#include <gtest/gtest.h>

#include <cmath>
#include <regex>

#include <sstream>

#include "layout/document_arranger.h"
#include "layout/txt_layout.h"
#include "platform/utf16.h"
#include "render/page_canvas.h"
#include "render/pdf_export.h"
#include "render/pdf_tools.h"
#include "render/pict_test_files.h"
#include "settings/txt_param.h"
#include "support/test_support.h"
#include "text/txt_document.h"

namespace Yomibon {
namespace {

namespace yt = Yomibon::Test;

using Test::Quoted;
using Test::RunCommand;

#define YB_REQUIRE_POPPLER()                                                               \
    do {                                                                                   \
        if (!::Yomibon::Test::HaveTools({"pdfinfo", "pdftotext", "pdffonts", "pdftoppm"})) \
            GTEST_SKIP() << "poppler-utils are not installed";                             \
    } while (0)

// A text that uses every kind of drawing: ruby, emphasis marks, side lines, a ruled box,
// a box around a range, upright-in-vertical numbers, Latin, a note, repeat marks, dashes.
const char16_t* kDecorated =
    u"飾り見本\r\n作者名\r\n\r\n"
    u"［＃大見出し］第一章［＃大見出し終わり］\r\n"
    u"　羅生門《らしょうもん》の下で雨やみを待っていた。強調［＃「強調」に傍点］と"
    u"傍線［＃「傍線」に傍線］を引き、罫囲み［＃「罫囲み」は罫囲み］にする。"
    u"西暦2024［＃「2024」は縦中横］年、Sentimentalismeの語。"
    u"時々刻々、いよ／＼待つ。――長い線――。注記［＃「注記」に「ちゅうき」の注記］。\r\n"
    u"［＃中見出し］その一［＃中見出し終わり］\r\n"
    u"　二つ目の段落はここで終わる。\r\n";

// Headings and characters set larger and smaller than the body, whole columns of them.
const char16_t* kSized =
    u"大きさ見本\r\n作者名\r\n\r\n"
    u"［＃大見出し］第一章　春の海と山の道［＃大見出し終わり］\r\n"
    u"［＃ここから３段階大きな文字］\r\n大きな文字で組まれた二行目の文章がここに続く\r\n"
    u"［＃ここで大きな文字終わり］\r\n"
    u"［＃ここから３段階小さな文字］\r\n"
    u"小さな文字で組まれた段落は行の長さいっぱいまで書いてどうなるかを見るために長くしておく。"
    u"小さな文字で組まれた段落は行の長さいっぱいまで書いてどうなるかを見るために長くしておく。\r\n"
    u"［＃ここで小さな文字終わり］\r\n";

// A document opened from notation or from a file, arranged in the paperback layout.
// Opening a file moves the current folder to the file's; it is put back afterwards.
struct Book {
    std::filesystem::path startFolder = std::filesystem::current_path();
    CYbTxtParam param;
    CYbDocumentArranger* arranger = nullptr;
    std::unique_ptr<CYbTxtDocument> doc;

    Book() {
        auto a = std::make_unique<CYbDocumentArranger>();
        arranger = a.get();
        doc = std::make_unique<CYbTxtDocument>(param, std::move(a));
    }
    ~Book() {
        std::error_code ec;
        std::filesystem::current_path(startFolder, ec);
    }
    static std::unique_ptr<Book> FromText(std::u16string_view text) {
        auto b = std::make_unique<Book>();
        EXPECT_TRUE(b->doc->openText(text));
        return b;
    }
    static std::unique_ptr<Book> FromFile(const std::filesystem::path& file) {
        auto b = std::make_unique<Book>();
        EXPECT_TRUE(b->doc->openFile(FromUtf8(file.string())));
        return b;
    }
    PdfExportResult exportTo(const std::filesystem::path& file, PdfExportOptions options = {},
                             const PdfProgress& progress = {}) {
        return ExportPdf(param, *doc, arranger->layout(), file, options, progress);
    }
};

int PdfPages(const std::filesystem::path& file) {
    std::smatch m;
    std::string info = RunCommand("pdfinfo " + Quoted(file));
    return std::regex_search(info, m, std::regex("Pages:\\s+(\\d+)")) ? std::stoi(m[1]) : -1;
}

std::string PdfInfoField(const std::filesystem::path& file, const std::string& field) {
    std::smatch m;
    std::string info = RunCommand("pdfinfo " + Quoted(file));
    return std::regex_search(info, m, std::regex(field + ":\\s+([^\\n]*)")) ? m[1].str() : "";
}

// Page size in millimetres.
std::pair<double, double> PdfPageSize(const std::filesystem::path& file) {
    std::smatch m;
    std::string size = PdfInfoField(file, "Page size");
    if (!std::regex_search(size, m, std::regex("([0-9.]+) x ([0-9.]+) pts"))) return {0, 0};
    return {std::stod(m[1]) * 25.4 / 72, std::stod(m[2]) * 25.4 / 72};
}

// The text poppler finds, in content order, without the line breaks it puts between the
// characters of a vertical column.
std::u16string PdfText(const std::filesystem::path& file, const std::string& pages = "") {
    std::u16string text =
        FromUtf8(RunCommand("pdftotext -raw -enc UTF-8 " + pages + " " + Quoted(file) + " -"));
    std::erase_if(text, [](char16_t c) { return c == u'\n' || c == u' ' || c == u'\f'; });
    return text;
}

std::u16string BodyText(const CYbTxtDocument& doc) {
    std::u16string body;
    for (const auto& line : doc.buffer().lines())
        for (const auto& run : line.runs)
            if (run.textType == TT_TEXT) body += run.str;
    return body;
}

std::filesystem::path SamplePath() {
    return std::filesystem::path(YB_SOURCE_DIR) / "data" / "samples" / "rashomon.txt";
}

// The spread holding `page` drawn by the bitmap canvas and by the PDF (rasterised by
// poppler at the same size): the part of the inked cells the two share.
double SpreadInkAgreement(Book& book, int page, const yt::TempDir& dir) {
    const int width = 2100, height = 1480;  // the paperback spread's 210 x 148 mm
    CYbPageCanvas canvas(book.param);
    canvas.setDocument(book.doc.get(), &book.arranger->layout());
    canvas.resize(width, height);
    canvas.drawPage(page);
    PdfExportOptions options;
    options.spreads = true;
    options.firstPage = options.lastPage = page;
    const auto pdf = dir.path() / "spread.pdf";
    EXPECT_EQ(book.exportTo(pdf, options).status, PdfExportStatus::Done);
    const auto stem = dir.path() / "spread";
    RunCommand("pdftoppm -gray -singlefile -scale-to-x " + std::to_string(width) + " -scale-to-y " +
               std::to_string(height) + " " + Quoted(pdf) + " " + Quoted(stem));
    yt::GreyPicture printed = yt::ReadPnm(stem.string() + ".pgm");
    EXPECT_EQ(printed.width, width);
    auto a = yt::InkedCells(yt::GreyOf(canvas.bitmap()), 20, 4);
    auto b = yt::InkedCells(printed, 20, 4);
    size_t inked = 0;
    for (bool x : a)
        inked += x;
    EXPECT_GT(inked, 200u) << "the spread should hold text";
    return yt::InkAgreement(a, b);
}

}  // namespace

TEST(PdfExport, SamplePagesAndPaperFollowTheLayout) {
    YB_REQUIRE_POPPLER();
    yt::TempDir dir;
    auto book = Book::FromFile(SamplePath());
    const auto file = dir.path() / "羅生門.pdf";
    PdfExportResult r = book->exportTo(file);
    ASSERT_EQ(r.status, PdfExportStatus::Done);
    const int pages = book->doc->getPageCount() + 1;
    EXPECT_EQ(r.pages, pages);
    EXPECT_EQ(PdfPages(file), pages);
    auto [w, h] = PdfPageSize(file);
    auto [spreadWidth, paperHeight] = book->arranger->layout().GetPaperSize();
    EXPECT_NEAR(w, spreadWidth / 200.0, 0.1);  // one page: half the spread, 1/100 mm units
    EXPECT_NEAR(h, paperHeight / 100.0, 0.1);
    EXPECT_NEAR(w, 105, 0.1);
    EXPECT_NEAR(h, 148, 0.1);
    EXPECT_EQ(PdfInfoField(file, "Title"), "羅生門");
    EXPECT_EQ(PdfInfoField(file, "Author"), "芥川龍之介");
    // Every font is embedded as a subset (the name carries the subset tag).
    std::string fonts = RunCommand("pdffonts " + Quoted(file));
    std::smatch m;
    int fontLines = 0;
    std::istringstream lines(fonts);
    for (std::string line; std::getline(lines, line);) {
        if (!std::regex_search(line, m, std::regex("^[A-Z]{6}\\+\\S+"))) continue;
        ++fontLines;
        EXPECT_TRUE(std::regex_search(line, std::regex("\\s+yes\\s+yes\\s+yes\\s+"))) << line;
    }
    EXPECT_GE(fontLines, 1) << fonts;
}

TEST(PdfExport, TextComesOutInReadingOrderWithoutRuby) {
    YB_REQUIRE_POPPLER();
    yt::TempDir dir;
    auto book = Book::FromFile(SamplePath());
    ASSERT_EQ(book->exportTo(dir.path() / "a.pdf").status, PdfExportStatus::Done);
    std::u16string text = PdfText(dir.path() / "a.pdf");
    std::u16string body = BodyText(*book->doc);
    ASSERT_GT(body.size(), 5000u);
    EXPECT_GT(yt::InOrderCoverage(body, text, 48), 0.99);
    // The order matters: the body read backwards is not found.
    std::u16string reversed(body.rbegin(), body.rend());
    EXPECT_LT(yt::InOrderCoverage(reversed, text, 48), 0.6);
    // Ruby is drawn but not part of the text a reader copies.
    EXPECT_NE(text.find(u"羅生門"), std::u16string::npos);
    EXPECT_EQ(text.find(u"きりぎりす"), std::u16string::npos);
}

TEST(PdfExport, SampleInkFallsInTheCanvasCells) {
    YB_REQUIRE_POPPLER();
    yt::TempDir dir;
    auto book = Book::FromFile(SamplePath());
    EXPECT_GT(SpreadInkAgreement(*book, 2, dir), 0.85);
    EXPECT_GT(SpreadInkAgreement(*book, 6, dir), 0.85);
}

TEST(PdfExport, DecorationsInkFallsInTheCanvasCells) {
    YB_REQUIRE_POPPLER();
    yt::TempDir dir;
    auto book = Book::FromText(kDecorated);
    // The title page and, on the left, the body.
    EXPECT_GT(SpreadInkAgreement(*book, 0, dir), 0.85);
    ASSERT_EQ(book->exportTo(dir.path() / "all.pdf").status, PdfExportStatus::Done);
    std::u16string text = PdfText(dir.path() / "all.pdf");
    EXPECT_NE(text.find(u"2024"), std::u16string::npos);
    EXPECT_NE(text.find(u"Sentimentalisme"), std::u16string::npos);
    EXPECT_NE(text.find(u"ちゅうき"), std::u16string::npos) << "a note is text";
    EXPECT_EQ(text.find(u"らしょうもん"), std::u16string::npos) << "ruby is not";
}

TEST(PdfExport, SizedCharactersInkFallsInTheCanvasCells) {
    YB_REQUIRE_POPPLER();
    yt::TempDir dir;
    auto book = Book::FromText(kSized);
    EXPECT_GT(SpreadInkAgreement(*book, 0, dir), 0.85);
}

TEST(PdfExport, SpreadsAndPageRanges) {
    YB_REQUIRE_POPPLER();
    yt::TempDir dir;
    auto book = Book::FromFile(SamplePath());
    const int pages = book->doc->getPageCount() + 1;
    PdfExportOptions spreads;
    spreads.spreads = true;
    ASSERT_EQ(book->exportTo(dir.path() / "s.pdf", spreads).status, PdfExportStatus::Done);
    EXPECT_EQ(PdfPages(dir.path() / "s.pdf"), pages / 2);
    EXPECT_NEAR(PdfPageSize(dir.path() / "s.pdf").first, 210, 0.1);
    PdfExportOptions range;
    range.firstPage = 2;
    range.lastPage = 5;
    PdfExportResult r = book->exportTo(dir.path() / "r.pdf", range);
    ASSERT_EQ(r.status, PdfExportStatus::Done);
    EXPECT_EQ(PdfPages(dir.path() / "r.pdf"), 4);
    // The range's first page is book page 2, its first body column the one after page 1's.
    std::u16string first = PdfText(dir.path() / "r.pdf", "-f 1 -l 1");
    std::u16string whole = PdfText(dir.path() / "s.pdf", "-f 2 -l 2");
    EXPECT_EQ(first.substr(0, 20), whole.substr(0, 20));
    range.firstPage = pages + 4;
    range.lastPage = -1;
    EXPECT_EQ(book->exportTo(dir.path() / "none.pdf", range).status, PdfExportStatus::NoPages);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "none.pdf"));
}

TEST(PdfExport, HeadingsBecomeBookmarks) {
    YB_REQUIRE_POPPLER();
    yt::TempDir dir;
    auto book = Book::FromText(kDecorated);
    ASSERT_EQ(book->doc->outline().size(), 2u);
    ASSERT_EQ(book->exportTo(dir.path() / "h.pdf").status, PdfExportStatus::Done);
    std::string bytes = yt::ReadFile(dir.path() / "h.pdf");
    EXPECT_NE(bytes.find("/Outlines"), std::string::npos);
    // Outline titles are UTF-16 strings: 第一章 and, nested beneath it, その一.
    EXPECT_NE(bytes.find("<FEFF7B2C4E007AE0>"), std::string::npos);
    EXPECT_NE(bytes.find("<FEFF305D306E4E00>"), std::string::npos);
}

TEST(PdfExport, MissingPictureIsAFrameWithItsName) {
    YB_REQUIRE_POPPLER();
    yt::TempDir dir;
    auto book = Book::FromText(
        u"題\r\n著者\r\n\r\n本文の前。［＃挿絵（nowhere.png）入る］\r\n本文の後。\r\n");
    PdfExportResult r = book->exportTo(dir.path() / "p.pdf");
    ASSERT_EQ(r.status, PdfExportStatus::Done);
    EXPECT_EQ(r.missingPictures, 1);
    std::u16string text = PdfText(dir.path() / "p.pdf");
    EXPECT_NE(text.find(u"nowhere.png"), std::u16string::npos);
    EXPECT_NE(text.find(u"本文の後"), std::u16string::npos);
}

TEST(PdfExport, PictureIsEmbeddedAtItsOwnResolution) {
    YB_REQUIRE_POPPLER();
    if (!::Yomibon::Test::HaveTools({"pdfimages"})) GTEST_SKIP() << "no pdfimages";
    yt::TempDir dir;
    std::vector<uint8_t> rgb(37 * 23 * 3, 40);
    yt::WriteFile(dir.path() / "pic.png", yt::MakePng(37, 23, 2, 8, rgb));
    auto book = Book::FromText(u"題\r\n著者\r\n\r\n前。［＃挿絵（" +
                               FromUtf8((dir.path() / "pic.png").string()) + u"）入る］\r\n");
    PdfExportResult r = book->exportTo(dir.path() / "p.pdf");
    ASSERT_EQ(r.status, PdfExportStatus::Done);
    EXPECT_EQ(r.missingPictures, 0);
    std::string images = RunCommand("pdfimages -list " + Quoted(dir.path() / "p.pdf"));
    EXPECT_TRUE(std::regex_search(images, std::regex("image\\s+37\\s+23\\s"))) << images;
}

TEST(PdfExport, ExternalGlyphWithoutOutlineIsItsDescription) {
    YB_REQUIRE_POPPLER();
    yt::TempDir dir;
    auto book =
        Book::FromText(u"題\r\n著者\r\n\r\n前の字※［＃「架空の字」、底本の注記］後の字。\r\n");
    PdfExportResult r = book->exportTo(dir.path() / "g.pdf");
    ASSERT_EQ(r.status, PdfExportStatus::Done);
    EXPECT_EQ(r.missingGlyphs, 1);
    std::u16string text = PdfText(dir.path() / "g.pdf");
    EXPECT_NE(text.find(u"架空の字"), std::u16string::npos);
    EXPECT_NE(text.find(u"後の字"), std::u16string::npos);
}

TEST(PdfExport, TextWithoutTitleTakesTheFallback) {
    YB_REQUIRE_POPPLER();
    yt::TempDir dir;
    // Without a title line the document is named after its file; the PDF takes the
    // file's name without the folder, or the title the caller gives.
    yt::WriteFile(dir.path() / "無題.txt", "\r\n\r\n\x82\xa0\x82\xa2\x82\xa4\r\n");
    auto book = Book::FromFile(dir.path() / "無題.txt");
    ASSERT_EQ(ToUtf8(book->doc->buffer().getTitle()), (dir.path() / "無題.txt").string());
    ASSERT_EQ(book->exportTo(dir.path() / "u.pdf").status, PdfExportStatus::Done);
    EXPECT_EQ(PdfInfoField(dir.path() / "u.pdf", "Title"), "無題");
    EXPECT_NE(PdfText(dir.path() / "u.pdf").find(u"あいう"), std::u16string::npos);
    PdfExportOptions options;
    options.fallbackTitle = u"名のない本";
    ASSERT_EQ(book->exportTo(dir.path() / "t.pdf", options).status, PdfExportStatus::Done);
    EXPECT_EQ(PdfInfoField(dir.path() / "t.pdf", "Title"), "名のない本");
}

TEST(PdfExport, LinksBecomeLinkAreasOverTheirText) {
    YB_REQUIRE_POPPLER();
    yt::TempDir dir;
    yt::WriteFile(dir.path() / "link.xhtml",
                  "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                  "<html xmlns=\"http://www.w3.org/1999/xhtml\" xml:lang=\"ja\"><head>"
                  "<meta http-equiv=\"Content-Type\" content=\"text/html;charset=UTF-8\" />"
                  "<title>見本</title></head><body><div class=\"metadata\">"
                  "<h1 class=\"title\">見本</h1><h2 class=\"author\">作者</h2></div>"
                  "<div class=\"main_text\">本文の中に<a href=\"https://example.com/book\">"
                  "案内の頁</a>へのリンクがある。</div></body></html>");
    auto book = Book::FromFile(dir.path() / "link.xhtml");
    ASSERT_EQ(book->exportTo(dir.path() / "l.pdf").status, PdfExportStatus::Done);
    std::string bytes = yt::ReadFile(dir.path() / "l.pdf");
    EXPECT_NE(bytes.find("/URI (https://example.com/book)"), std::string::npos);
    std::smatch m;
    ASSERT_TRUE(std::regex_search(
        bytes, m, std::regex("/Rect \\[ ([-0-9.]+) ([-0-9.]+) ([-0-9.]+) ([-0-9.]+) \\]")));
    const double x0 = std::stod(m[1]), y0 = std::stod(m[2]), x1 = std::stod(m[3]),
                 y1 = std::stod(m[4]);
    // On the page (105 x 148 mm in points), one column wide and four characters long.
    EXPECT_GE(x0, 0);
    EXPECT_LE(x1, 297.7);
    EXPECT_GE(y0, 0);
    EXPECT_LE(y1, 419.6);
    EXPECT_LT(x1 - x0, 20);
    EXPECT_GT(y1 - y0, 30);
    EXPECT_NE(PdfText(dir.path() / "l.pdf").find(u"案内の頁"), std::u16string::npos);
}

TEST(PdfExport, FailuresAndCancellingLeaveNoFile) {
    yt::TempDir dir;
    auto book = Book::FromFile(SamplePath());
    // A folder that does not exist.
    EXPECT_EQ(book->exportTo(dir.path() / "no" / "such" / "b.pdf").status,
              PdfExportStatus::FolderNotWritable);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "no"));
    // A folder where the name is taken by a folder: nothing replaces it.
    std::filesystem::create_directory(dir.path() / "taken.pdf");
    EXPECT_EQ(book->exportTo(dir.path() / "taken.pdf").status, PdfExportStatus::WriteFailed);
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "taken.pdf"));
    // Cancelled after three pages: neither the file nor a temporary one is left, and an
    // older file of that name is kept as it was.
    yt::WriteFile(dir.path() / "old.pdf", "older");
    int calls = 0;
    PdfExportResult r = book->exportTo(dir.path() / "old.pdf", {}, [&](int done, int total) {
        EXPECT_EQ(done, ++calls);
        EXPECT_EQ(total, book->doc->getPageCount() + 1);
        return done < 3;
    });
    EXPECT_EQ(r.status, PdfExportStatus::Cancelled);
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(yt::ReadFile(dir.path() / "old.pdf"), "older");
    size_t entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 2u);  // taken.pdf and old.pdf
}

TEST(PdfExport, PageRangesAreRead) {
    int a = 0, b = 0;
    EXPECT_TRUE(ParsePageRange("3-9", a, b));
    EXPECT_EQ(a, 3);
    EXPECT_EQ(b, 9);
    EXPECT_TRUE(ParsePageRange("5", a, b));
    EXPECT_EQ(a, 5);
    EXPECT_EQ(b, 5);
    EXPECT_TRUE(ParsePageRange("4-", a, b));
    EXPECT_EQ(a, 4);
    EXPECT_EQ(b, -1);
    EXPECT_TRUE(ParsePageRange("-6", a, b));
    EXPECT_EQ(a, 0);
    EXPECT_EQ(b, 6);
    for (const char* bad : {"", "-", "9-3", "x", "1-2-3", "3 - 4", "-1-"})
        EXPECT_FALSE(ParsePageRange(bad, a, b)) << bad;
}

TEST(PdfExport, CorpusTextExportsWhole) {
    YB_REQUIRE_CORPUS();
    YB_REQUIRE_POPPLER();
    yt::TempDir dir;
    auto book = Book::FromFile(yt::CorpusDir() / "dazai-hashire-merosu" / "1567_ruby_4948.txt");
    ASSERT_GT(book->doc->getPageCount(), 4);
    PdfExportResult r = book->exportTo(dir.path() / "c.pdf");
    ASSERT_EQ(r.status, PdfExportStatus::Done);
    EXPECT_EQ(PdfPages(dir.path() / "c.pdf"), book->doc->getPageCount() + 1);
    EXPECT_GT(yt::InOrderCoverage(BodyText(*book->doc), PdfText(dir.path() / "c.pdf"), 48), 0.98);
    EXPECT_GT(SpreadInkAgreement(*book, 4, dir), 0.85);
}

}  // namespace Yomibon
