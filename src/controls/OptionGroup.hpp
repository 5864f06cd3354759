// The rules of the player's input that no window decides: which controls
// take it, and how a group of option buttons chooses and where its one tab
// stop is.
#pragma once

#include <algorithm>
#include <utility>
#include <vector>

#include "controls/Controls.hpp"

namespace varnex {

// A hidden or disabled control takes no input from the player; a script's
// click on it counts no more.
[[nodiscard]] inline bool TakesInput(const Control& control) { return control.Visible() && control.Enabled(); }

// Option buttons of which one is selected at a time.
class OptionGroup {
public:
    explicit OptionGroup(std::vector<OptionButton*> buttons) : buttons_(std::move(buttons)) {}

    // The player's click or arrow key on `button`: it is selected and the
    // others cleared, then its handling runs.
    void Choose(OptionButton& button) const {
        button.SetValue(true);
        for (OptionButton* other : buttons_)
            if (other != &button) other->SetValue(false);
        if (button.Click) button.Click();
    }

    // The one button the Tab key reaches: the selected one shown, or the
    // first one shown while none is selected; none while all are hidden.
    [[nodiscard]] const OptionButton* TabStop() const {
        const auto selected = std::find_if(buttons_.begin(), buttons_.end(), [](const OptionButton* button) {
            return button->Visible() && button->Value();
        });
        if (selected != buttons_.end()) return *selected;
        const auto shown = std::find_if(buttons_.begin(), buttons_.end(),
                                        [](const OptionButton* button) { return button->Visible(); });
        return shown != buttons_.end() ? *shown : nullptr;
    }

private:
    std::vector<OptionButton*> buttons_;
};

}  // namespace varnex
