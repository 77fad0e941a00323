// yomibon-cli export run as a user runs it: the PDF's pages and text checked with poppler
// against what `yomibon-cli info` and `yomibon-cli dump` say of the same text.
#include <gtest/gtest.h>

#include <regex>

#include "cli/cli_support.h"
#include "platform/utf16.h"
#include "render/pdf_tools.h"
#include "support/test_support.h"

namespace Yomibon {
namespace {

namespace yt = Yomibon::Test;

std::string Sample() {
    return (std::filesystem::path(YB_SOURCE_DIR) / "data" / "samples" / "rashomon.txt").string();
}

bool HavePoppler() {
    return yt::HaveTools({"pdfinfo", "pdftotext"});
}

// The body text of `dump`: the characters of its TT_TEXT runs up to the colophon, which
// the reader keeps with the text's information rather than on its pages.
std::u16string DumpedBody(const std::string& dump) {
    static const std::regex run("\"name\":\"TT_TEXT\",\"text\":\"([^\"\\\\]*)\"");
    std::u16string body;
    for (std::sregex_iterator it(dump.begin(), dump.end(), run), end; it != end; ++it)
        body += FromUtf8((*it)[1].str());
    size_t colophon = body.rfind(u"底本：");
    if (colophon != std::u16string::npos) body.resize(colophon);
    return body;
}

int InfoPages(const std::string& file) {
    yt::CliRun info = yt::RunCli({"info", file});
    std::smatch m;
    return std::regex_search(info.out, m, std::regex("pages: (\\d+)")) ? std::stoi(m[1]) : -1;
}

int PdfPages(const std::filesystem::path& pdf) {
    std::smatch m;
    std::string info = yt::RunCommand("pdfinfo " + yt::Quoted(pdf));
    return std::regex_search(info, m, std::regex("Pages:\\s+(\\d+)")) ? std::stoi(m[1]) : -1;
}

void ExpectTextInReadingOrder(const std::string& file, const std::filesystem::path& pdf) {
    yt::CliRun dump = yt::RunCli({"dump", file});
    ASSERT_EQ(dump.exitCode, 0) << dump.err;
    std::u16string body = DumpedBody(dump.out);
    ASSERT_GT(body.size(), 1000u);
    std::u16string text =
        FromUtf8(yt::RunCommand("pdftotext -raw -enc UTF-8 " + yt::Quoted(pdf) + " -"));
    EXPECT_GT(yt::InOrderCoverage(body, text, 48), 0.98);
}

TEST(CliExport, SampleBecomesAPdfOfEveryPage) {
    if (!HavePoppler()) GTEST_SKIP() << "poppler-utils are not installed";
    yt::TempDir dir;
    const auto pdf = dir.path() / "rashomon.pdf";
    yt::CliRun run = yt::RunCli({"export", Sample(), "-o", pdf.string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    // Not a terminal: no progress line, one summary line.
    EXPECT_EQ(run.err, "");
    EXPECT_NE(run.out.find(" pages, "), std::string::npos) << run.out;
    EXPECT_EQ(PdfPages(pdf), InfoPages(Sample()) + 1);
    ExpectTextInReadingOrder(Sample(), pdf);
}

TEST(CliExport, SpreadsRangesAndLayouts) {
    if (!HavePoppler()) GTEST_SKIP() << "poppler-utils are not installed";
    yt::TempDir dir;
    const auto pdf = dir.path() / "s.pdf";
    ASSERT_EQ(yt::RunCli({"export", Sample(), "-o", pdf.string(), "--spreads", "--pages", "2-5"})
                  .exitCode,
              0);
    EXPECT_EQ(PdfPages(pdf), 2);
    std::string info = yt::RunCommand("pdfinfo " + yt::Quoted(pdf));
    EXPECT_NE(info.find("Page size:       595.276 x 419.528 pts"), std::string::npos) << info;
    // The new-book layout: 103 x 182 mm.
    ASSERT_EQ(yt::RunCli(
                  {"export", Sample(), "-o", pdf.string(), "--layout", "shinsho", "--pages", "1-1"})
                  .exitCode,
              0);
    info = yt::RunCommand("pdfinfo " + yt::Quoted(pdf));
    EXPECT_NE(info.find("Page size:       291.969 x 515.906 pts"), std::string::npos) << info;
    EXPECT_EQ(PdfPages(pdf), 1);
}

TEST(CliExport, RefusesBadArgumentsAndUnwritableTargets) {
    yt::TempDir dir;
    yt::CliRun noOut = yt::RunCli({"export", Sample()});
    EXPECT_EQ(noOut.exitCode, 2);
    EXPECT_NE(noOut.err.find("usage: yomibon-cli export FILE -o BOOK.pdf"), std::string::npos);
    EXPECT_EQ(yt::RunCli({"export", Sample(), "-o", "x.pdf", "--pages", "9-2"}).exitCode, 2);
    EXPECT_EQ(yt::RunCli({"export", Sample(), "-o", "x.pdf", "--pagez", "1"}).exitCode, 2);
    const auto target = dir.path() / "missing" / "b.pdf";
    yt::CliRun unwritable = yt::RunCli({"export", Sample(), "-o", target.string()});
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_NE(unwritable.err.find("the folder cannot be written"), std::string::npos)
        << unwritable.err;
    EXPECT_FALSE(std::filesystem::exists(target.parent_path()));
    yt::CliRun help = yt::RunCli({"export", "--help"});
    EXPECT_EQ(help.exitCode, 0);
    for (const char* option : {"--layout", "--spreads", "--pages", "--background", "-o"})
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
}

TEST(CliExport, CorpusTextInReadingOrder) {
    YB_REQUIRE_CORPUS();
    if (!HavePoppler()) GTEST_SKIP() << "poppler-utils are not installed";
    yt::TempDir dir;
    const std::string file = (yt::CorpusDir() / "nakajima-sangetsuki").string();
    std::string text;
    for (const auto& e : std::filesystem::directory_iterator(file))
        if (e.path().extension() == ".txt") text = e.path().string();
    ASSERT_FALSE(text.empty());
    const auto pdf = dir.path() / "c.pdf";
    yt::CliRun run = yt::RunCli({"export", text, "-o", pdf.string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(PdfPages(pdf), InfoPages(text) + 1);
    ExpectTextInReadingOrder(text, pdf);
}

}  // namespace
}  // namespace Yomibon
