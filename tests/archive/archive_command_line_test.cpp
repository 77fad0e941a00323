#include "archive/archive_command_line.h"

#include <gtest/gtest.h>

namespace Yomibon {
namespace {

TEST(ArchiveCommandLine, SplitsAtBlanksOutsideQuotes) {
    std::vector<CommandWord> words;
    ASSERT_TRUE(SplitCommandLine("x  \"/a b/c.zip\"\t-o\"/d e/\" *", words));
    ASSERT_EQ(words.size(), 4u);
    EXPECT_EQ(words[0].text, "x");
    EXPECT_FALSE(words[0].quoted);
    EXPECT_EQ(words[1].text, "/a b/c.zip");
    EXPECT_TRUE(words[1].quoted);
    EXPECT_EQ(words[2].text, "-o/d e/");
    EXPECT_FALSE(words[2].quoted);
    EXPECT_EQ(words[3].text, "*");
    EXPECT_TRUE(SplitCommandLine("", words));
    EXPECT_TRUE(words.empty());
    EXPECT_TRUE(SplitCommandLine("\"\"", words));
    ASSERT_EQ(words.size(), 1u);
    EXPECT_EQ(words[0].text, "");
    EXPECT_FALSE(SplitCommandLine("x \"/open", words));
}

TEST(ArchiveCommandLine, ReadsEachLibrarysFormat) {
    ArchiverCommand command;
    ASSERT_TRUE(ParseArchiverCommand(ArchiverKind::Lha,
                                     "x \"/t/走れ.lzh\" \"/d/Archive/走れ.lzh/\" *", command));
    EXPECT_EQ(command.archive, "/t/走れ.lzh");
    EXPECT_EQ(command.destination, "/d/Archive/走れ.lzh/");
    EXPECT_EQ(command.patterns, std::vector<std::string>{"*"});

    ASSERT_TRUE(
        ParseArchiverCommand(ArchiverKind::Zip, "-x -s \"/t/a b.zip\" \"/d/x/\" *", command));
    EXPECT_EQ(command.archive, "/t/a b.zip");
    EXPECT_EQ(command.destination, "/d/x/");
    EXPECT_EQ(command.patterns, std::vector<std::string>{"*"});

    ASSERT_TRUE(
        ParseArchiverCommand(ArchiverKind::SevenZip, "x \"/t/a.7z\" -o\"/d/a b/\"", command));
    EXPECT_EQ(command.archive, "/t/a.7z");
    EXPECT_EQ(command.destination, "/d/a b/");
    EXPECT_TRUE(command.patterns.empty());

    // A quoted archive name starting with "-" is a name, not a switch.
    ASSERT_TRUE(ParseArchiverCommand(ArchiverKind::SevenZip, "x \"-a.7z\" -o\"/d/\"", command));
    EXPECT_EQ(command.archive, "-a.7z");
}

TEST(ArchiveCommandLine, RefusesLinesOutsideTheFormat) {
    ArchiverCommand command;
    // Each library's line is foreign to the others.
    EXPECT_FALSE(ParseArchiverCommand(ArchiverKind::Lha, "-x -s \"/a.lzh\" \"/d/\" *", command));
    EXPECT_FALSE(ParseArchiverCommand(ArchiverKind::Zip, "x \"/a.zip\" \"/d/\" *", command));
    EXPECT_FALSE(ParseArchiverCommand(ArchiverKind::SevenZip, "x \"/a.7z\" \"/d/\"", command));
    // Missing destination, unknown command or switch, open quote, empty name.
    EXPECT_FALSE(ParseArchiverCommand(ArchiverKind::Lha, "x \"/a.lzh\"", command));
    EXPECT_FALSE(ParseArchiverCommand(ArchiverKind::Lha, "d \"/a.lzh\" \"/d/\" *", command));
    EXPECT_FALSE(ParseArchiverCommand(ArchiverKind::Zip, "-s \"/a.zip\" \"/d/\" *", command));
    EXPECT_FALSE(ParseArchiverCommand(ArchiverKind::Zip, "-x -r \"/a.zip\" \"/d/\" *", command));
    EXPECT_FALSE(ParseArchiverCommand(ArchiverKind::SevenZip, "x \"/a.7z\" -o", command));
    EXPECT_FALSE(ParseArchiverCommand(ArchiverKind::SevenZip, "x \"/a.7z\" -y -o\"/d/\"", command));
    EXPECT_FALSE(ParseArchiverCommand(ArchiverKind::SevenZip, "x -o\"/d/\"", command));
    EXPECT_FALSE(ParseArchiverCommand(ArchiverKind::Lha, "x \"/a.lzh\" \"/d/", command));
    EXPECT_FALSE(ParseArchiverCommand(ArchiverKind::Lha, "x \"\" \"/d/\" *", command));
    EXPECT_FALSE(ParseArchiverCommand(ArchiverKind::Lha, "", command));
    EXPECT_TRUE(command.archive.empty());
    EXPECT_TRUE(command.destination.empty());
}

}  // namespace
}  // namespace Yomibon
