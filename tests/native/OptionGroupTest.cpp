// Which controls take the player's input, and how the folder options
// choose and where their one tab stop is.
#include <gtest/gtest.h>

#include <array>

#include "controls/OptionGroup.hpp"

namespace varnex {

TEST(OptionGroup, ChoosingClearsTheOthersFirstAndHiddenButtonsTakeNoInput) {
    std::array<OptionButton, 3> buttons;
    const OptionGroup group({&buttons[0], &buttons[1], &buttons[2]});
    bool chosen = false;  // as the handling sees the group
    buttons[1].Click = [&] { chosen = !buttons[0].Value() && buttons[1].Value() && !buttons[2].Value(); };
    buttons[0].SetValue(true);
    group.Choose(buttons[1]);
    EXPECT_TRUE(chosen);
    group.Choose(buttons[2]);
    EXPECT_EQ(group.TabStop(), &buttons[2]);
    EXPECT_TRUE(TakesInput(buttons[0]));
    buttons[0].SetEnabled(false);
    buttons[1].SetVisible(false);
    EXPECT_FALSE(TakesInput(buttons[0]) || TakesInput(buttons[1])) << "a hidden button takes no script's click";
}

}  // namespace varnex
