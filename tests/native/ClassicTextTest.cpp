#include <gtest/gtest.h>

#include "text/ClassicText.hpp"

namespace varnex::testing {
TEST(ClassicText, SearchAndSliceFollowTheClassicOneBasedRules) {
    // From a one-based start; 0 where the needle is not found.
    EXPECT_EQ(InStr(2, "//TanksBig//Island", "//"), 11u);
    EXPECT_EQ(InStr(1, "abc", ""), 1u);
    EXPECT_EQ(InStr(4, "abc", ""), 0u);
    EXPECT_EQ(InStr(1, "", ""), 0u);
    EXPECT_EQ(InStr(3, "abcabc", "abc"), 4u);
    EXPECT_EQ(InStr(6, "abcabc", "c"), 6u);
    EXPECT_EQ(InStr(1, "DATA.pbo", "Data"), 0u);
    EXPECT_EQ(InStr(7, "abcabc", "c"), 0u);
    EXPECT_EQ(Mid("abcdef", 7) + Mid("abcdef", 2, 3) + Mid("abcdef", 5, 9), "bcdef");
    EXPECT_EQ(CutRight("tank.pbo", 4) + CutRight(".pbo", 4) + SignedText(56), "tank 56");
}

TEST(ClassicText, NamesCompareIgnoringTheCaseOfAToZOnly) {
    EXPECT_EQ(UpperAscii("tank\xE9.pbo"), "TANK\xE9.PBO");
    EXPECT_TRUE(EqualIgnoringCase("Res\\AddOns", "RES\\ADDONS") && !EqualIgnoringCase("\xE9", "\xC9"));
    EXPECT_TRUE(MatchesPattern("Tank.PBO.bak", "*.pbo*") && !MatchesPattern("Tank.pbx", "*.pbo*"));
}

}  // namespace varnex::testing
