// Settings-side files come from outside: whatever their bytes, reading them must not crash
// and must leave the store usable.
#include <gtest/gtest.h>

#include <random>

#include "settings/csv_text.h"
#include "settings/data_folder.h"
#include "settings/profile.h"
#include "settings/txt_param.h"
#include "support/test_support.h"

using namespace Yomibon;

namespace {

// Bytes biased towards the characters the formats give meaning to.
std::string Garbage(std::mt19937& rng, size_t size) {
    static const char alphabet[] = "[]=\",'\r\n \t#0123456789-abcXYZ\xFF\xFE\x00\x82\xA0\xE3";
    std::string out;
    for (size_t i = 0; i < size; ++i) {
        out.push_back(rng() % 4 == 0 ? char(rng() % 256) : alphabet[rng() % (sizeof alphabet - 1)]);
    }
    return out;
}

}  // namespace

TEST(SettingsBadInput, RandomBytesNeverBreakTheReaders) {
    Yomibon::Test::TempDir dir;
    std::mt19937 rng(20261208);
    for (int round = 0; round < 200; ++round) {
        std::string bytes = Garbage(rng, rng() % 600);
        if (round % 3 == 0) bytes = "\xFF\xFE" + bytes;
        Yomibon::Test::WriteFile(dir.path() / "Yomibon.ini", bytes);
        Yomibon::Test::WriteFile(dir.path() / "offset.lis", Garbage(rng, rng() % 300));
        CYbCSVText table;
        ASSERT_TRUE(table.Read(dir.path() / "offset.lis"));
        CYbTxtParam param;
        param.Load(dir.path() / "Yomibon.ini");
        // A file with bytes that did not decode is not saved over; the store still saves.
        CYbProfile profile;
        ASSERT_TRUE(profile.Load(dir.path() / "Yomibon.ini"));
        auto target = dir.path() / (profile.Intact() ? "Yomibon.ini" : "fresh.ini");
        std::filesystem::remove(dir.path() / "fresh.ini");
        EXPECT_EQ(param.Save(dir.path() / "Yomibon.ini"), profile.Intact()) << round;
        // Whatever was read, the store saves and reads back the same values.
        ASSERT_TRUE(param.Save(target)) << round << " " << target;
        CYbTxtParam back;
        ASSERT_TRUE(back.Load(target));
        for (auto key : CYbTxtParam::PointKeys()) {
            if (param.GetPoints(key).empty()) continue;
            ASSERT_EQ(back.GetPoints(key), param.GetPoints(key)) << round;
        }
        for (auto key : CYbTxtParam::TextKeys())
            ASSERT_EQ(back.GetText(key), param.GetText(key)) << round;
    }
}

TEST(SettingsBadInput, UserFolderHoldsTheSettingsAndTheProgramFileStays) {
    Yomibon::Test::TempDir dir;
    auto program = dir.path() / "program";
    const std::string programIni = "[Yomibon]\nUseApplicationData=1\n[text]\nLastFile=old\n";
    Yomibon::Test::WriteFile(program / "Yomibon.ini", programIni);
    DataFolderEnvironment env;
    env.xdgDataHome = (dir.path() / "share").string();
    auto data = ComputeDataFolder(program, env);
    ASSERT_EQ(data, dir.path() / "share" / "Yomibon");

    CYbTxtParam param;
    param.Load(data / "Yomibon.ini");
    EXPECT_EQ(param.GetText(u"LastFile"), u"");  // not the program folder's value
    param.SetText(u"LastFile", u"new");
    ASSERT_TRUE(param.Save(data / "Yomibon.ini"));
    EXPECT_EQ(Yomibon::Test::ReadFile(program / "Yomibon.ini"), programIni);
    EXPECT_EQ(ProfileGetString(u"text", u"LastFile", u"", data / "Yomibon.ini"), u"new");
    // The program never writes UseApplicationData itself.
    EXPECT_EQ(ProfileGetInt(u"Yomibon", u"UseApplicationData", -1, data / "Yomibon.ini"), -1);
}
