#include <gtest/gtest.h>

#include "text/ClassicText.hpp"

namespace varnex::testing {
namespace {

TEST(ClassicText, SearchAndSliceFollowTheClassicOneBasedRules) {
    struct Case {
        std::size_t start;
        const char *hay, *needle;
        std::size_t want;
    };
    const Case cases[] = {
        {2, "//TanksBig//Island", "//", 11},
        {1, "abc", "", 1},
        {4, "abc", "", 0},
        {1, "", "", 0},
        {3, "abcabc", "abc", 4},
        {6, "abcabc", "c", 6},
        {1, "DATA.pbo", "Data", 0},
        {7, "abcabc", "c", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(InStr(c.start, c.hay, c.needle), c.want) << c.hay << " / " << c.needle;
    EXPECT_EQ(Mid("abcdef", 7) + Mid("abcdef", 2, 3) + Mid("abcdef", 5, 9), "bcdef");
    EXPECT_EQ(CutRight("tank.pbo", 4) + CutRight(".pbo", 4) + SignedText(56), "tank 56");
}

TEST(ClassicText, NamesCompareWithoutRegardToTheCaseOfATillZOnly) {
    EXPECT_EQ(UpperAscii("tank\xE9.pbo"), "TANK\xE9.PBO");
    EXPECT_TRUE(EqualIgnoringCase("Res\\AddOns", "RES\\ADDONS"));
    EXPECT_FALSE(EqualIgnoringCase("\xE9", "\xC9"));
    EXPECT_TRUE(MatchesPattern("Tank.PBO.bak", "*.pbo*") && !MatchesPattern("Tank.pbx", "*.pbo*"));
}

}  // namespace
}  // namespace varnex::testing
