// Which controls take the player's input, and how the folder options
// choose and where their one tab stop is.
#include <gtest/gtest.h>

#include <array>
#include <ostream>
#include <string>

#include "controls/OptionGroup.hpp"

namespace varnex {
namespace {

struct Row {
    const char* what;
    std::array<bool, 3> shown;
    std::array<bool, 3> selected;
    int tabStop;  // -1: none
};

void PrintTo(const Row& row, std::ostream* out) { *out << row.what; }

const Row kRows[] = {
    {"the selected button", {true, true, true}, {false, true, false}, 1},
    {"the first button while none is selected", {true, true, true}, {false, false, false}, 0},
    {"the first shown while the selected one is hidden", {false, true, true}, {true, false, false}, 1},
    {"the selected one past a hidden first", {false, true, true}, {false, false, true}, 2},
    {"none while all are hidden", {false, false, false}, {false, true, false}, -1},
};

class OptionGroupTest : public ::testing::TestWithParam<Row> {};

TEST_P(OptionGroupTest, TheGroupIsOneTabStop) {
    const Row& row = GetParam();
    std::array<OptionButton, 3> buttons;
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        buttons[i].SetVisible(row.shown[i]);
        buttons[i].SetValue(row.selected[i]);
    }
    const OptionGroup group({&buttons[0], &buttons[1], &buttons[2]});
    EXPECT_EQ(group.TabStop(), row.tabStop < 0 ? nullptr : &buttons[static_cast<std::size_t>(row.tabStop)]);
}

INSTANTIATE_TEST_SUITE_P(Rows, OptionGroupTest, ::testing::ValuesIn(kRows));

TEST(OptionGroup, ChoosingSelectsOneClearsTheOthersAndThenRunsItsHandlingAndOnlyShownEnabledControlsTakeInput) {
    std::array<OptionButton, 3> buttons;
    const OptionGroup group({&buttons[0], &buttons[1], &buttons[2]});
    std::string seen;
    buttons[1].Click = [&] {
        for (const OptionButton& button : buttons) seen += button.Value() ? '1' : '0';
    };
    buttons[0].SetValue(true);
    group.Choose(buttons[1]);
    EXPECT_EQ(seen, "010") << "the handling sees the group as chosen";
    group.Choose(buttons[2]);
    EXPECT_EQ(group.TabStop(), &buttons[2]);

    EXPECT_TRUE(TakesInput(buttons[0]));
    buttons[0].SetEnabled(false);
    EXPECT_FALSE(TakesInput(buttons[0]));
    buttons[1].SetVisible(false);
    EXPECT_FALSE(TakesInput(buttons[1])) << "a hidden button takes no script's click";
}

}  // namespace
}  // namespace varnex
