// A window's menu bar over menu item models: the player's choice of an item
// runs its Click through the gate, as a button's press does.
#pragma once

#include <initializer_list>
#include <unordered_map>

#include "controls/Controls.hpp"
#include "forms/Gate.hpp"
#include "forms/Handles.hpp"

namespace varnex::forms {

// An item of a menu and the ID scripts choose it by.
struct MenuCommand {
    int id;
    MenuItem& item;
};

class MenuBar {
public:
    // What a menu's commands do to the addon folders. Commands that rename,
    // delete or write: a choice kept during a handler is dropped when the
    // lists changed meanwhile.
    enum class Changes : bool { Nothing, Files };

    // A menu titled with `title`'s caption, over `commands`.
    void AddMenu(const MenuItem& title, std::initializer_list<MenuCommand> commands, Changes changes);
    // The bar, for the window to take over; null when it has no menu.
    [[nodiscard]] UniqueMenu Take() { return std::move(bar_); }
    // The player chose the item `id`.
    void Choose(int id, Gate& gate) const;

private:
    struct Chosen {
        MenuItem* item;
        bool changesFiles;
    };
    UniqueMenu bar_;
    std::unordered_map<int, Chosen> items_;
};

}  // namespace varnex::forms
