// The information window: the six tagged values of an addon's companion
// text file, read-only. One instance for the whole run; closing it discards
// its contents, and the next showing loads it again.
#pragma once

#include <array>

#include "controls/Controls.hpp"
#include "platform/FileNumbers.hpp"

namespace varnex {

// The companion text file of an addon: its path less the last four
// characters, then ".txt".
Text CompanionPath(const Text& addonPath);

// The six values of a companion text, in the window's field order; a tag
// that does not occur gives its fallback text.
std::array<Text, 6> ReadTags(const Text& text);

class AddonInfo {
public:
    AddonInfo(FileApi& files, FileNumbers& numbers, Desktop& desktop);

    Frame Frame1{"Addon information"}, Frame2{"Units"}, Frame3{"Units info"}, Frame4{"General info"}, Frame5{"Author"},
        Frame6{"Ver.Nr."}, Frame7{"Req.Ver."};
    TextBox Text1, Text2, Text3, Text4, Text5, Text6;

    [[nodiscard]] const Text& Caption() const { return caption_; }
    [[nodiscard]] bool Loaded() const { return loaded_; }
    [[nodiscard]] bool Visible() const { return visible_; }

    // Loads the window when it is not loaded, then makes it visible.
    void Show();
    // The player closed the window.
    void Unload();

    void AddonInfo_Form_Load();

    [[nodiscard]] std::array<TextBox*, 6> Fields() { return {&Text1, &Text2, &Text3, &Text4, &Text5, &Text6}; }

private:
    void PresetTexts();

    FileApi& files_;
    FileNumbers& numbers_;
    Desktop& desktop_;
    Text caption_ = "Addon Information";
    bool loaded_ = false;
    bool visible_ = false;
};

}  // namespace varnex
