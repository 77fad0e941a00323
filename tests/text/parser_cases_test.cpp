// Golden cases of the parser: tests/data/parser/*.cases. A case is one line of notation
// ("\n" inside it separates source lines), then its expected body lines, each "> " and the
// line's runs as DescribeLine writes them. "#" lines are comments; a blank line ends a case.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "parser_test_util.h"
#include "support/test_support.h"

namespace Yomibon::Test {
namespace {

struct Case {
    std::string notation;
    std::vector<std::string> expected;
    int lineNumber = 0;
};

std::vector<Case> ReadCases(const std::filesystem::path& file) {
    std::vector<Case> cases;
    std::istringstream in(ReadFile(file));
    std::string line;
    int number = 0;
    bool open = false;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.starts_with("#")) continue;
        if (line.empty()) {
            open = false;
        } else if (line.starts_with("> ") || line == ">") {
            if (open) cases.back().expected.push_back(line.size() > 2 ? line.substr(2) : "");
        } else {
            std::string notation;
            for (size_t i = 0; i < line.size(); ++i)
                if (line.compare(i, 2, "\\n") == 0)
                    notation += '\n', ++i;
                else
                    notation += line[i];
            cases.push_back({notation, {}, number});
            open = true;
        }
    }
    return cases;
}

TEST(ParserCases, GoldenFiles) {
    size_t count = 0;
    for (const auto& e : std::filesystem::directory_iterator(DataDir() / "parser")) {
        if (e.path().extension() != ".cases") continue;
        for (const Case& c : ReadCases(e.path())) {
            SCOPED_TRACE(e.path().filename().string() + ":" + std::to_string(c.lineNumber));
            CYbTxtBuffer buffer = ParseNotation(u"\n" + FromUtf8(c.notation));
            std::vector<std::string> actual;
            for (int l = 2; l < buffer.lineCount(); ++l)
                actual.push_back(DescribeLine(buffer, l));
            EXPECT_EQ(actual, c.expected);
            ++count;
        }
    }
    EXPECT_GT(count, 10u);
}

}  // namespace
}  // namespace Yomibon::Test
