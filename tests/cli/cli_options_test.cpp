// The shared option rules of yomibon-cli: what a usage line allows and how arguments are
// checked against it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cli/cli_options.h"

namespace Yomibon::Cli {
namespace {

using ::testing::ElementsAre;

TEST(CliOptions, UsageLinesOfTheCommandsGiveTheirOptions) {
    CommandOptions render = OptionsFromUsage(
        "FILE [--page N | --all | --flip N] [--size WxH] [--layout bunko|shinsho|PATH] "
        "[--aa 1|2] -o OUT.png|DIR");
    EXPECT_THAT(render.valueOptions,
                ElementsAre("--page", "--flip", "--size", "--layout", "--aa", "-o"));
    EXPECT_THAT(render.flags, ElementsAre("--all"));
    EXPECT_EQ(render.arguments, 1u);

    CommandOptions glyphs = OptionsFromUsage("[--out sheet.png] [--spacing 1.2] [--centering]");
    EXPECT_THAT(glyphs.valueOptions, ElementsAre("--out", "--spacing"));
    EXPECT_THAT(glyphs.flags, ElementsAre("--centering"));
    EXPECT_EQ(glyphs.arguments, 0u);

    CommandOptions dump = OptionsFromUsage("FILE [--stats]");
    EXPECT_TRUE(dump.valueOptions.empty());
    EXPECT_THAT(dump.flags, ElementsAre("--stats"));

    // A placeholder ending in "..." takes any number of words.
    CommandOptions catalogue = OptionsFromUsage("[--url URL] [--update] search WORDS... | open ID");
    EXPECT_THAT(catalogue.valueOptions, ElementsAre("--url"));
    EXPECT_THAT(catalogue.flags, ElementsAre("--update"));
    EXPECT_EQ(catalogue.arguments, kAnyNumber);
    EXPECT_EQ(CheckArgs({"search", "a", "b", "c", "d", "e", "--url", "x"}, catalogue).verdict,
              CheckedArgs::Run);
    EXPECT_EQ(CheckArgs({"search", "a", "--bogus"}, catalogue).verdict, CheckedArgs::Refused);
}

TEST(CliOptions, AcceptedArgumentsPassThroughWithInlineValuesSplit) {
    CommandOptions accepted = OptionsFromUsage("FILE [--size WxH] [--all] -o OUT");
    CheckedArgs checked = CheckArgs({"a.txt", "--size=10x20", "--all", "-o", "-"}, accepted);
    EXPECT_EQ(checked.verdict, CheckedArgs::Run);
    EXPECT_THAT(checked.args, ElementsAre("a.txt", "--size", "10x20", "--all", "-o", "-"));
    // A value may itself start with a dash: it belongs to the option before it.
    checked = CheckArgs({"--size", "-3", "a.txt"}, accepted);
    EXPECT_EQ(checked.verdict, CheckedArgs::Run);
    EXPECT_THAT(checked.args, ElementsAre("--size", "-3", "a.txt"));
}

TEST(CliOptions, MistakesAreRefusedWithTheirReason) {
    CommandOptions accepted = OptionsFromUsage("FILE [--pages A-B] [--stats]");
    struct Case {
        Args args;
        const char* message;
    } cases[] = {
        {{"a.txt", "--bogus"}, "unknown option '--bogus'"},
        {{"a.txt", "-x"}, "unknown option '-x'"},
        {{"a.txt", "--pages"}, "option '--pages' needs a value"},
        {{"a.txt", "--stats=1"}, "option '--stats' takes no value"},
        {{"a.txt", "b.txt"}, "unexpected argument 'b.txt'"},
        {{"--bogus=1", "a.txt"}, "unknown option '--bogus'"},
    };
    for (const Case& c : cases) {
        CheckedArgs checked = CheckArgs(c.args, accepted);
        EXPECT_EQ(checked.verdict, CheckedArgs::Refused) << c.message;
        EXPECT_EQ(checked.message, c.message);
    }
}

TEST(CliOptions, HelpAndVersionWinWhereverTheyStand) {
    CommandOptions accepted = OptionsFromUsage("FILE [--stats]");
    EXPECT_EQ(CheckArgs({"a.txt", "--help"}, accepted).verdict, CheckedArgs::Help);
    EXPECT_EQ(CheckArgs({"-h"}, accepted).verdict, CheckedArgs::Help);
    EXPECT_EQ(CheckArgs({"--version", "a.txt"}, accepted).verdict, CheckedArgs::Version);
    // A missing file is the command's own business, not the option check's.
    EXPECT_EQ(CheckArgs({}, accepted).verdict, CheckedArgs::Run);
}

}  // namespace
}  // namespace Yomibon::Cli
