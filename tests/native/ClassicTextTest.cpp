#include <gtest/gtest.h>

#include "controls/Controls.hpp"
#include "text/ClassicText.hpp"

namespace varnex {
namespace {

TEST(ClassicText, SearchAndSliceFollowTheClassicOneBasedRules) {
    struct Case {
        std::size_t start;
        const char* hay;
        const char* needle;
        std::size_t want;
    };
    const Case cases[] = {
        {1, "//TanksBig", "//Tanks", 1}, {2, "//TanksBig//Island", "//", 11}, {1, "abc", "", 1},
        {4, "abc", "", 0},               {1, "", "", 0},                      {1, "", "a", 0},
        {3, "abcabc", "abc", 4},         {1, "Data.pbo", "a.pbo", 4},         {1, "DATA.pbo", "Data", 0},
        {7, "abcabc", "c", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(InStr(c.start, c.hay, c.needle), c.want) << c.hay << " / " << c.needle;

    EXPECT_EQ(Mid("abcdef", 3), "cdef");
    EXPECT_EQ(Mid("abcdef", 7), "");
    EXPECT_EQ(Mid("abcdef", 2, 3), "bcd");
    EXPECT_EQ(Mid("abcdef", 5, 9), "ef");
    EXPECT_EQ(CutRight("tank.pbo", 4), "tank");
    EXPECT_EQ(CutRight(".pbo", 4), "");
    EXPECT_EQ(CutRight("pbo", 4), "");
    EXPECT_EQ(SignedText(56), " 56");
}

TEST(ClassicText, FileListPatternIgnoresCaseAndAdmitsTrailingText) {
    EXPECT_TRUE(MatchesPattern("Tank.PBO", "*.pbo*"));
    EXPECT_TRUE(MatchesPattern("tank.pbo.bak", "*.pbo*"));
    EXPECT_TRUE(MatchesPattern("a.pbo.pbx", "*.pbo*"));
    EXPECT_TRUE(MatchesPattern("a.pbo.pbx", "*.pbx*"));
    EXPECT_TRUE(MatchesPattern(".pbo", "*.pbo*"));
    EXPECT_FALSE(MatchesPattern("tank.pb", "*.pbo*"));
    EXPECT_FALSE(MatchesPattern("tankpbo", "*.pbo*"));
    EXPECT_FALSE(MatchesPattern("tank.txt", "*.pbx*"));
}

}  // namespace
}  // namespace varnex
