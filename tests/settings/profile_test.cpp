#include "settings/profile.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "support/file_size_limit.h"
#include "support/test_support.h"

using Yomibon::CYbProfile;

TEST(Profile, ReadingTrimsBlanksAndOnePairOfQuotes) {
    CYbProfile p;
    p.Parse(
        u"[Text]\r\n  Key1 =  value with blanks  \r\nkey2=\" quoted \"\r\nkey3='single'\r\n"
        u"key4=\"\"twice\"\"\r\nkey5=\"mismatched'\r\nempty=\r\n[other]\r\nkey1=other\r\n");
    std::u16string v;
    ASSERT_TRUE(p.GetString(u"text", u"KEY1", v));  // names compare without case
    EXPECT_EQ(v, u"value with blanks");
    ASSERT_TRUE(p.GetString(u"text", u"key2", v));
    EXPECT_EQ(v, u" quoted ");
    ASSERT_TRUE(p.GetString(u"text", u"key3", v));
    EXPECT_EQ(v, u"single");
    ASSERT_TRUE(p.GetString(u"text", u"key4", v));
    EXPECT_EQ(v, u"\"twice\"");
    ASSERT_TRUE(p.GetString(u"text", u"key5", v));
    EXPECT_EQ(v, u"\"mismatched'");
    ASSERT_TRUE(p.GetRawString(u"text", u"key2", v));
    EXPECT_EQ(v, u"\" quoted \"");
    ASSERT_TRUE(p.GetString(u"text", u"empty", v));
    EXPECT_EQ(v, u"");
    EXPECT_FALSE(p.GetString(u"text", u"absent", v));
    EXPECT_FALSE(p.GetString(u"none", u"key1", v));
    ASSERT_TRUE(p.GetString(u"other", u"key1", v));
    EXPECT_EQ(v, u"other");
    EXPECT_EQ(p.GetInt(u"text", u"key1", 7), 0);
    EXPECT_EQ(p.GetInt(u"text", u"absent", 7), 7);
}

TEST(Profile, WritingReplacesAppendsAndCreatesSections) {
    CYbProfile p;
    p.Parse(u"; comment\n[a]\nx=1\ny=2\n\n[b]\nz=3\n");
    p.WriteString(u"A", u"X", u"10");             // replaces the line in place
    p.WriteString(u"a", u"w", u"new");            // appended after the section's last key
    p.WriteString(u"c", u"k", u"line\r\nbreak");  // a new section at the end
    EXPECT_EQ(p.ToText(), u"; comment\n[a]\nX=10\ny=2\nw=new\n\n[b]\nz=3\n\n[c]\nk=line  break\n");

    CYbProfile empty;
    empty.WriteString(u"s", u"k", u"v");
    EXPECT_EQ(empty.ToText(), u"[s]\nk=v\n");
}

TEST(Profile, FilesKeepTheirLineEndsAndUtf16IsRead) {
    Yomibon::Test::TempDir dir;
    auto file = dir.path() / "crlf.ini";
    Yomibon::Test::WriteFile(file, "[s]\r\nk=\xE6\x97\xA5\r\n");
    EXPECT_EQ(Yomibon::ProfileGetString(u"s", u"k", u"def", file), u"日");
    ASSERT_TRUE(Yomibon::ProfileWriteString(u"s", u"j", u"2", file));
    EXPECT_EQ(Yomibon::Test::ReadFile(file), "[s]\r\nk=\xE6\x97\xA5\r\nj=2\r\n");

    auto u16 = dir.path() / "u16.ini";
    Yomibon::Test::WriteFile(u16, std::string("\xFF\xFE[\0s\0]\0\n\0k\0=\0"
                                              "5\0",
                                              16));
    EXPECT_EQ(Yomibon::ProfileGetInt(u"s", u"k", -1, u16), 5);
    EXPECT_EQ(Yomibon::ProfileGetInt(u"s", u"k", -1, dir.path() / "absent.ini"), -1);
    EXPECT_EQ(Yomibon::ProfileGetString(u"s", u"k", u"def", dir.path() / "absent.ini"), u"def");

    // Writing creates the file.
    auto created = dir.path() / "new.ini";
    ASSERT_TRUE(Yomibon::ProfileWriteString(u"Yomibon", u"k", u"v", created));
    EXPECT_EQ(Yomibon::Test::ReadFile(created), "[Yomibon]\nk=v\n");
}

TEST(Profile, FailedSaveLeavesTheOldFile) {
    Yomibon::Test::TempDir dir;
    auto folder = dir.path() / "ro";
    auto file = folder / "s.ini";
    Yomibon::Test::WriteFile(file, "[s]\nk=old\n");
    {
        // The write fails as on a full disk, whoever runs the test.
        Yomibon::Test::FileSizeLimit full(4);
        EXPECT_FALSE(Yomibon::ProfileWriteString(u"s", u"k", u"new", file));
    }
    EXPECT_EQ(Yomibon::Test::ReadFile(file), "[s]\nk=old\n");
    // No temporary file is left behind either.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(Profile, SaveOverAFolderFailsWithoutLeftovers) {
    Yomibon::Test::TempDir dir;
    auto target = dir.path() / "taken";
    std::filesystem::create_directories(target / "inside");
    CYbProfile p;
    p.WriteString(u"s", u"k", u"v");
    EXPECT_FALSE(p.Save(target));
    EXPECT_TRUE(std::filesystem::is_directory(target / "inside"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1);
    // A file that exists but cannot be parsed as ours is still not replaced by a lone key.
    EXPECT_FALSE(Yomibon::ProfileWriteString(u"s", u"k", u"v", target));
}
