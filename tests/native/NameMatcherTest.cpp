#include <gtest/gtest.h>

#include <random>

#include "favorites/NameMatcher.hpp"

namespace varnex {
namespace {

std::vector<bool> PlainSearch(const std::vector<Text>& names, const Text& text) {
    std::vector<bool> found;
    for (const Text& name : names) found.push_back(InStr(1, text, name) != 0);
    return found;
}

TEST(NameMatcher, FindsWhatAPlainSearchFinds) {
    const std::vector<Text> names = {"m1tank.pbx", "1tank.pbx", "tank.pbx", "Heli.PBx", "heli.pbx",
                                     "ank.pbx",    "x",         "",         "tank.pbx.old", "ABox.pbx"};
    const Text texts[] = {"m1tank.pbx Heli.pbx ", "", "tank.pbx.ol", "abox.pbx", "xx", "q"};
    for (const Text& text : texts) EXPECT_EQ(NameMatcher(names).Occurs(text), PlainSearch(names, text)) << text;
}

TEST(NameMatcher, AgreesWithAPlainSearchOnRandomNamesAndTexts) {
    std::mt19937 random(7);
    auto word = [&](int maxLength) {
        Text w(std::uniform_int_distribution<int>(0, maxLength)(random), ' ');
        for (char& c : w) c = "ab.\x80\xFF"[std::uniform_int_distribution<int>(0, 4)(random)];
        return w;
    };
    for (int round = 0; round < 300; ++round) {
        std::vector<Text> names(static_cast<std::size_t>(std::uniform_int_distribution<int>(0, 12)(random)));
        for (Text& name : names) name = word(6);
        const Text text = word(40);
        ASSERT_EQ(NameMatcher(names).Occurs(text), PlainSearch(names, text)) << text;
    }
}

}  // namespace
}  // namespace varnex
